#pragma once

#include "document/ModelViewState.h"
#include "render/OpenGLView.h"

// A pane of the pane layouts: an OpenGL view of one view type. It holds the state the document and
// the layouts keep per pane and shows its type in its caption; the scene of each type is drawn once
// the model view exists, which takes this pane's place. Net types say that there are no nets.
class ModelPane : public OpenGLView, public ModelViewState
{
public:
    explicit ModelPane(wxWindow* parent, wxWindowID id = wxID_ANY);

    int ViewTypeCode() const override { return mViewType; }

    int GetViewType() const override { return mViewType; }
    void SetViewType(int code, bool keep) override;
    double GetExplosion() const override { return mExplosion; }
    void SetExplosion(double scale) override { mExplosion = scale; }
    int GetProjection4D() const override { return mProjection4D; }
    void SetProjection4D(int type) override { mProjection4D = type; }
    const Mat4& GetRotation4D() const override { return mRotation4D; }
    void SetRotation4D(const Mat4& rotation) override { mRotation4D = rotation; }

    // The text the pane shows in its middle; empty for none.
    const char* GetPlaceholderText() const;

protected:
    void DrawScene() override;

private:
    int mViewType = -1;
    double mExplosion = 1.0;
    int mProjection4D = 2;
    Mat4 mRotation4D;
};
