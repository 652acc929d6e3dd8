#pragma once

#include <string>
#include <vector>

class wxBitmapBundle;

// The program's own pictures: the toolbar buttons and menu items by their commands' picture names,
// the view types, the kit's edge styles and the program's icon. Each is an SVG drawn for a 16 x 16
// grid and scales to any size.

// The SVG text of a picture; empty for a name the program has no picture of.
std::string GetCommandPictureSvg(const std::string& name);
// Every picture's name, in table order.
std::vector<std::string> GetCommandPictureNames();
// The picture made at 16 x 16 (and larger for a scaled display); not IsOk for an unknown name.
wxBitmapBundle GetCommandPicture(const std::string& name);

// The picture names of the view types, in view-type index order (0 to 24).
const std::vector<std::string>& GetViewTypePictureNames();
// The picture names of the kit's eleven edge styles, in style order (0 Yellow to 10 Pastel Sky).
const std::vector<std::string>& GetKitEdgeStylePictureNames();
// The name of the program's icon.
inline constexpr const char* kProgramIconPicture = "orvane";

// Makes the pictures the program's art under kCommandArtClient; later calls do nothing.
void InstallCommandPictures();
