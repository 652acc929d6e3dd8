// The 3D export formats of SimplePoly that carry a scene: a VRML 2.0 world and a POV-Ray include
// file with the scene that renders it. Like the other writers they take the positions as they
// stand; the pane's background and camera come in an Export3DScene.

#include "model/SimplePoly.h"

#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "kernel/WaitCursor.h"
#include "library/Export3DOptions.h"
#include "library/Export3DScene.h"
#include "library/ExportWriting.h"
#include "library/FileHeaderComment.h"
#include "model/ElementDisplayOptions.h"
#include "operations/VertexPair.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr double kDegrees = kPi / 180.0;
// Without a pane the camera sees the model's sphere within this half-angle.
constexpr double kFallbackHalfFov = 12.5 * kDegrees;

// A VRML string's content: its quote and backslash are escaped.
std::string VrmlStringText(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p)
    {
        if (*p == '"' || *p == '\\')
            out += '\\';
        out += *p;
    }
    return out;
}

// An edge of the list whose two ends are vertices of the model.
bool IsEdgeOf(const VertexPair& pair, int numVerts)
{
    return pair.mLow >= 0 && pair.mLow < numVerts && pair.mHigh >= 0 && pair.mHigh < numVerts;
}

// The smaller positive size factor of an edge's ends; 0 when either has none.
double EdgeSizeFactor(const SimpleVert& a, const SimpleVert& b)
{
    const double s = std::min(a.mSizeFactor, b.mSizeFactor);
    return s > 0.0 ? s : 0.0;
}

// The horizontal field of view when the pane is taller than wide: the narrower of the two.
double VrmlFieldOfView(const Export3DScene& scene)
{
    if (!scene.hasView)
        return 25.0;
    const double fy = scene.verticalFov;
    if (scene.height < scene.width || scene.height <= 0)
        return fy;
    return 2.0 * std::atan(std::tan(fy * kDegrees / 2.0) * scene.width / scene.height) / kDegrees;
}

void WriteViewpoint(std::FILE* f, const char* description, double distance, double fov)
{
    std::fprintf(f, "Viewpoint {\n  description \"%s\"\n  position 0 0 %g\n  fieldOfView %g\n}\n", description, distance,
                 fov);
}

void WriteVrmlColor(std::FILE* f, const char* format, const ColorRGB& c)
{
    std::fprintf(f, format, c.r, c.g, c.b);
}

// The rotation that turns the cylinder's own axis (0, 1, 0) onto the unit direction u.
void CylinderRotation(const Vec3D& u, Vec3D& axis, double& angle)
{
    axis = Vec3D{u.z, 0.0, -u.x};
    // Along the y axis: no turn upwards; downwards a half turn about an axis across it, since one
    // about its own axis would leave it pointing up.
    if (std::fabs(axis.x) <= kTol && std::fabs(axis.z) <= kTol)
        axis = u.y >= 0.0 ? Vec3D{0.0, 1.0, 0.0} : Vec3D{1.0, 0.0, 0.0};
    else
        Vec3Normalize(axis);
    const Vec3D y{0.0, 1.0, 0.0};
    Vec3D d;
    if (u.y >= 0.0)
    {
        Vec3Sub(d, u, y);
        angle = 2.0 * std::asin(std::min(1.0, Vec3Length(d) / 2.0));
    }
    else
    {
        Vec3Add(d, u, y);
        angle = kPi - 2.0 * std::asin(std::min(1.0, Vec3Length(d) / 2.0));
    }
}
}  // namespace

bool SimplePoly::ExportVrml(const char* path, const char* title, const VertexPair* edges,
                            const Export3DScene& scene) const
{
    ScopedWaitCursor wait;
    ExportFaceColors fc;
    if (!CollectExportFaceColors(*this, fc))
        return false;
    ExportFile file(std::fopen(path, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();
    const ElementDisplayOptions& display = GetElementDisplayOptions();
    const bool spheres = (gExport3DOptions & kExport3DVerts) != 0;
    const bool withEdges = (gExport3DOptions & kExport3DEdges) && edges;
    const bool cylinders = withEdges && display.mSpheresAndCylinders;
    const bool lines = withEdges && !display.mSpheresAndCylinders;

    // The world is in metres: everything is sized from the current unit.
    const UnitSettings& units = GetUnitSettings();
    const double metres = UnitSettings::TwipsPerUnit(units.GetDistanceUnit()) / UnitSettings::TwipsPerUnit(kUnitMetres);
    const double radius = GetRadius() * metres;
    const double sphereRadius = scene.sphereLength * metres;

    const std::string escapedTitle = VrmlStringText(title);
    std::fputs("#VRML V2.0 utf8\n", f);
    std::fputs(FormatFileHeaderComment("# ", title, nullptr).c_str(), f);
    std::fprintf(f, "\nWorldInfo {\n  title \"%s\"\n  info [\n", escapedTitle.c_str());
    std::fputs(FormatFileHeaderComment("  \"", escapedTitle.c_str(), "\"").c_str(), f);
    std::fputs("  ]\n}\n", f);

    std::fputs("\nBackground {\n", f);
    if (scene.hasView)
        WriteVrmlColor(f, "  skyColor %.2f %.2f %.2f\n", scene.background);
    else
        std::fputs("  skyColor 0.5 0.5 0.5\n", f);
    std::fputs("}\n", f);
    std::fputs("\nNavigationInfo {\n  type \"EXAMINE\"\n  headlight TRUE\n  avatarSize [0, 0, 0, 0, 0, 0]\n}\n", f);

    const double fov = VrmlFieldOfView(scene) * kDegrees;
    const double defaultDistance = scene.hasView ? Vec3Length(scene.eye) * metres : radius / std::sin(kFallbackHalfFov);
    WriteViewpoint(f, "Default", defaultDistance, fov);
    WriteViewpoint(f, "Wide angle", radius / std::sin(fov / 2.0), fov);
    WriteViewpoint(f, "Telephoto", radius / std::sin(2.5 * kDegrees), 5.0 * kDegrees);
    std::fputs("Viewpoint {\n  description \"Origin\"\n  position 0 0 0\n  fieldOfView 1.57\n}\n", f);

    std::fputs("Transform {\n children [\n", f);
    // The line set uses the face set's points, so the face set is written for it even when no face
    // is shown.
    if (fc.colors.count > 0 || lines)
    {
        std::fputs("  Shape {\n    appearance Appearance {\n      material Material {\n        shininess 1\n"
                   "        specularColor 1 1 1\n      }\n    }\n",
                   f);
        std::fputs("    geometry IndexedFaceSet {\n      ccw FALSE\n      solid FALSE\n      convex FALSE\n"
                   "      creaseAngle 0\n      colorPerVertex FALSE\n",
                   f);
        std::fputs("      color Color {\n        color [\n", f);
        for (uint32_t i = 0; i < fc.colors.count; ++i)
            WriteVrmlColor(f, "          %.2f %.2f %.2f,\n", fc.colors.items[i]);
        std::fputs("        ]\n      }\n", f);
        std::fputs("      coord DEF myPoints Coordinate {\n        point [\n", f);
        for (int i = 0; i < mNumVerts; ++i)
        {
            const Vec3D& p = mVerts[i].mPos;
            std::fprintf(f, "        % .8g % .8g % .8g,\n", p.x * metres, p.y * metres, p.z * metres);
        }
        std::fputs("        ]\n      }\n", f);
        std::vector<int> written;
        for (int i = 0; i < mNumFaces; ++i)
            if (fc.faceColor[size_t(i)] >= 0)
                written.push_back(i);
        if (!written.empty())
        {
            std::fputs("      coordIndex [\n", f);
            for (const int i : written)
            {
                const SimpleFace& face = mFaces[i];
                std::fputs("        ", f);
                for (int k = 0; k < face.mNum; ++k)
                    std::fprintf(f, "%d, ", SimpleVert::GetIndex(face.GetVert(k)));
                std::fputs("-1,\n", f);
            }
            std::fputs("      ]\n      colorIndex [\n       ", f);
            for (const int i : written)
                std::fprintf(f, " %d,", fc.faceColor[size_t(i)]);
            std::fputs("\n      ]\n", f);
        }
        std::fputs("    }\n  }\n", f);
    }

    if (spheres)
    {
        std::fputs("  # Spheres for vertices\n", f);
        for (int i = 0; i < mNumVerts; ++i)
        {
            const SimpleVert& v = mVerts[i];
            if (v.IsHidden())
                continue;
            const double r = v.mSizeFactor > 0.0 ? sphereRadius * v.mSizeFactor : sphereRadius;
            const Vec3D p = ExportZeroed(Vec3D{v.mPos.x * metres, v.mPos.y * metres, v.mPos.z * metres});
            std::fprintf(f, "  Transform {\n   translation % .8g % .8g % .8g\n   children [\n", p.x, p.y, p.z);
            std::fputs("    Shape {\n     appearance Appearance {\n      material Material {\n", f);
            WriteVrmlColor(f, "       diffuseColor %.2f %.2f %.2f\n", display.mSphereColor);
            std::fprintf(f, "      }\n     }\n     geometry Sphere {\n      radius %g\n     }\n    }\n   ]\n  }\n", r);
        }
    }

    if (cylinders)
    {
        std::fputs("  # Cylinders along edges\n", f);
        for (const VertexPair* pair = edges; pair; pair = pair->mNext)
        {
            if (!IsEdgeOf(*pair, mNumVerts))
                continue;
            const SimpleVert& va = mVerts[pair->mLow];
            const SimpleVert& vb = mVerts[pair->mHigh];
            const double factor = EdgeSizeFactor(va, vb);
            const double r = display.mCylinderRad * sphereRadius * (factor > 0.0 ? factor : 1.0);
            const Vec3D a = ExportZeroed(Vec3D{va.mPos.x * metres, va.mPos.y * metres, va.mPos.z * metres});
            const Vec3D b = ExportZeroed(Vec3D{vb.mPos.x * metres, vb.mPos.y * metres, vb.mPos.z * metres});
            Vec3D d;
            Vec3Sub(d, b, a);
            const double length = Vec3Length(d);
            if (length <= kTol)
                continue;
            const Vec3D u{d.x / length, d.y / length, d.z / length};
            Vec3D axis;
            double angle = 0.0;
            CylinderRotation(u, axis, angle);
            std::fprintf(f, "  Transform {\n   translation % .8g % .8g % .8g\n", (a.x + b.x) / 2.0, (a.y + b.y) / 2.0,
                         (a.z + b.z) / 2.0);
            std::fprintf(f, "   rotation % .8g % .8g % .8g % .8g\n   children [\n", axis.x, axis.y, axis.z, angle);
            std::fputs("    Shape {\n     appearance Appearance {\n      material Material {\n", f);
            WriteVrmlColor(f, "       diffuseColor %.2f %.2f %.2f\n", display.mCylinderColor);
            std::fprintf(f, "      }\n     }\n     geometry Cylinder {\n      radius %g\n      height %g\n     }\n", r,
                         length);
            std::fputs("    }\n   ]\n  }\n", f);
        }
    }

    if (lines)
    {
        std::fputs("# Lines along edges\n  Shape {\n    appearance Appearance {\n      material Material {\n", f);
        WriteVrmlColor(f, "        emissiveColor %.2f %.2f %.2f\n", display.mDefaultEdgeColor);
        std::fputs("      }\n    }\n    geometry IndexedLineSet {\n      coord USE myPoints\n      coordIndex [\n", f);
        for (const VertexPair* pair = edges; pair; pair = pair->mNext)
            if (IsEdgeOf(*pair, mNumVerts))
                std::fprintf(f, "        %d, %d, -1,\n", std::min(pair->mLow, pair->mHigh),
                             std::max(pair->mLow, pair->mHigh));
        std::fputs("      ]\n    }\n  }\n", f);
    }
    std::fputs(" ]\n}\n", f);
    return FinishExportFile(file);
}

bool SimplePoly::ExportPov(const char* includePath, const char* scenePath, const char* title, const VertexPair* edges,
                           const Export3DScene& scene, bool* reported) const
{
    ScopedWaitCursor wait;
    if (reported)
        *reported = false;
    ExportFaceColors fc;
    if (!CollectExportFaceColors(*this, fc))
        return false;
    ExportFile file(std::fopen(includePath, "w"));
    if (!file)
        return false;
    std::FILE* f = file.get();

    std::fputs(FormatFileHeaderComment("// ", title, nullptr).c_str(), f);
    std::fputs("\n#declare OldVersion = version;\n#version 3.1;\n\n", f);
    double below = 0.0;
    for (int i = 0; i < mNumVerts; ++i)
    {
        const Vec3D p = ExportZeroed(mVerts[i].mPos);
        std::fprintf(f, "#declare V%d = <% .17g, % .17g, % .17g>;\n", i, p.x, p.y, p.z);
        below = std::max(below, -mVerts[i].mPos.y);
    }

    // A single colour makes FACES that one mesh: a union of one object is refused by the renderer.
    const char* unionPrefix = fc.colors.count == 1 ? "// " : "";
    std::fprintf(f, "\n#declare FACES = %sunion {\n", unionPrefix);
    bool notTriangle = false;
    const std::vector<std::vector<int>> lists = ExportFacesByColor(fc);
    for (size_t c = 0; c < lists.size(); ++c)
    {
        std::fputs("  mesh {\n", f);
        for (const int index : lists[c])
        {
            const SimpleFace& face = mFaces[index];
            CheckExportTriangle(face, "ExportPov", notTriangle);
            if (face.mNum < 1)
                continue;
            std::fputs("    triangle {", f);
            for (int k = 0; k < 3; ++k)
                std::fprintf(f, "%sV%d", k ? ", " : "", SimpleVert::GetIndex(face.GetVert(std::min(k, face.mNum - 1))));
            std::fputs("}\n", f);
        }
        std::fprintf(f, "    texture{TEXTURE%zu}\n  }\n", c);
    }
    std::fprintf(f, "%s}\n\n", unionPrefix);

    std::fputs("#declare VERTS = union {\n", f);
    for (int i = 0; i < mNumVerts; ++i)
    {
        const SimpleVert& v = mVerts[i];
        if (v.IsHidden())
            continue;
        if (v.mSizeFactor > 0.0)
            std::fprintf(f, "  sphere {V%d (SPHERE_RADIUS * %g)}\n", i, v.mSizeFactor);
        else
            std::fprintf(f, "  sphere {V%d SPHERE_RADIUS}\n", i);
    }
    std::fputs("  texture{SPHERE_TEXTURE}\n}\n\n", f);

    std::fputs("#declare EDGES = union {\n", f);
    for (const VertexPair* pair = edges; pair; pair = pair->mNext)
    {
        if (!IsEdgeOf(*pair, mNumVerts))
            continue;
        const double factor = EdgeSizeFactor(mVerts[pair->mLow], mVerts[pair->mHigh]);
        if (factor > 0.0)
            std::fprintf(f, "  cylinder {V%d V%d (CYLINDER_RADIUS * %g)}\n", pair->mLow, pair->mHigh, factor);
        else
            std::fprintf(f, "  cylinder {V%d V%d CYLINDER_RADIUS}\n", pair->mLow, pair->mHigh);
    }
    std::fputs("  texture{CYLINDER_TEXTURE}\n}\n\n", f);
    std::fputs("#version OldVersion;\n", f);
    if (!FinishExportFile(file))
        return false;
    if (!scenePath)
        return true;

    ExportFile sceneFile(std::fopen(scenePath, "w"));
    if (!sceneFile)
    {
        ErrorMessage("Saved '%s', but couldn't save POV scene file '%s'.", includePath, scenePath);
        if (reported)
            *reported = true;
        return false;
    }
    f = sceneFile.get();
    const ElementDisplayOptions& display = GetElementDisplayOptions();
    const char* includeName = GetFileNamePart(includePath);
    const double radius = GetRadius();
    std::fputs(FormatFileHeaderComment("// ", title, nullptr).c_str(), f);
    std::fputs("\n#version 3.1;\n\n#include \"textures.inc\"\n#include \"colors.inc\"\n#include \"metals.inc\"\n\n", f);
    std::fputs("// You might want this if using a refractive material.\n//#max_trace_level 20\n\n", f);
    std::fprintf(f, "// Define any user-defined values in %s before including it.\n", includeName);
    std::fprintf(f, "#declare SPHERE_RADIUS = %g;\n", scene.sphereLength);
    std::fprintf(f, "#declare CYLINDER_RADIUS = %g * SPHERE_RADIUS;\n", display.mCylinderRad);
    std::fputs("#declare SPHERE_TEXTURE = texture{ Gold_Metal }\n#declare CYLINDER_TEXTURE = texture{ T_Silver_1A }\n", f);
    std::fprintf(f, "#declare CENTRE_HEIGHT = %g + SPHERE_RADIUS;\n", below);
    for (uint32_t c = 0; c < fc.colors.count; ++c)
    {
        const ColorRGB& color = fc.colors.items[c];
        std::fprintf(f, "#declare TEXTURE%u = texture{ pigment {color rgb <%.2f, %.2f, %.2f>} }\n", c, color.r, color.g,
                     color.b);
    }
    std::fprintf(f, "#include \"%s\"\n\n", includeName);
    const ColorRGB& sky = scene.hasView ? scene.background : ColorRGB{0.5f, 0.5f, 0.5f};
    std::fprintf(f, "background { color rgb <%.2f, %.2f, %.2f> }\n\n", sky.r, sky.g, sky.b);
    const float r = float(radius);
    std::fprintf(f, "light_source {<%g, %g + CENTRE_HEIGHT, %g> color rgb <1, 1, 1> }\n", 3.0f * r, r, 2.0f * r);
    std::fprintf(f, "light_source {<%g, %g + CENTRE_HEIGHT, %g> color rgb <1, 1, 1> }\n", -2.0f * r, 2.0f * r, 3.0f * r);

    // Without a pane the camera of the VRML world's default viewpoint.
    const Vec3D eye = scene.hasView ? scene.eye : Vec3D{0.0, 0.0, radius / std::sin(kFallbackHalfFov)};
    const Vec3D viewVector = scene.hasView ? scene.viewVector : Vec3D{0.0, 0.0, 1.0};
    const double fy = scene.hasView ? scene.verticalFov : 25.0;
    const double up = 2.0 * std::tan(fy * kDegrees / 2.0);
    std::fprintf(f, "camera {\n  location <%g, %g + CENTRE_HEIGHT, %g>\n  direction <0, 0, -1>\n", eye.x, eye.y, eye.z);
    std::fprintf(f, "  up <0, %g, 0>\n  right <%g * 4 / 3, 0, 0> // NTSC\n  //right <%g * 720 / 576, 0, 0> // PAL\n", up,
                 up, up);
    std::fprintf(f, "  look_at <%g, %g + CENTRE_HEIGHT, %g>\n}\n\n", eye.x - viewVector.x, eye.y - viewVector.y,
                 eye.z - viewVector.z);

    const char* vertsMark = (gExport3DOptions & kExport3DVerts) ? "" : "//";
    const char* edgesMark = (gExport3DOptions & kExport3DEdges) ? "" : "//";
    std::fprintf(f, "union {\n  object {FACES}\n  %sobject {VERTS}\n  %sobject {EDGES}\n", vertsMark, edgesMark);
    std::fputs("  //rotate <0, clock * 360, 0>\n  translate <0, CENTRE_HEIGHT, 0>\n}\n\n", f);
    std::fprintf(f, "plane {<0, 1, 0>, 0\n  pigment {\n    checker\n    rgb <0.2, 0.2, 0.8>,\n    rgb <0.8, 0.8, 0.2>\n"
                    "    scale %g\n  }\n}\n",
                 radius);
    if (!FinishExportFile(sceneFile))
    {
        ErrorMessage("Saved '%s', but couldn't save POV scene file '%s'.", includePath, scenePath);
        if (reported)
            *reported = true;
        return false;
    }
    return true;
}
