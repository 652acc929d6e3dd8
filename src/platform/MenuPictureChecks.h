#pragma once

class wxBitmap;
class wxMenuItem;
class wxUpdateUIEvent;

// GTK menus cannot show a picture on an item that carries a check mark. A command with both gets a
// plain item with its picture, and the mark is drawn as a tinted frame behind the picture. The
// item's update sets the look in place of the mark.

// Makes an item already in its menu a picture-check item showing picture, unchecked.
void MakePictureCheckItem(wxMenuItem* item, const wxBitmap& picture);
bool IsPictureCheckItem(const wxMenuItem* item);
// The mark the item shows; false for any other item.
bool IsPictureCheckItemChecked(const wxMenuItem* item);
// Shows or clears the mark of a picture-check item; nothing for any other item.
void SetPictureCheckItemChecked(wxMenuItem* item, bool checked);
// The menu's update of a picture-check item: the requested mark is shown as the look and taken out
// of the event, which the toolkit would otherwise apply to an item that cannot carry it. True when
// the event was such an update.
bool TakePictureCheckFromUpdate(wxUpdateUIEvent& event);
// The picture with the tinted frame of a checked item behind it, in the same size.
wxBitmap MakeCheckedPicture(const wxBitmap& picture);
