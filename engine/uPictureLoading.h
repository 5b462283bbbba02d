#pragma once
// How each caller loads a picture file. Every one takes the class that accepts the file's content, else the one
// its extension names (the steps of LoadPicture); they differ in how much of the picture is decoded at once and
// in what a failure costs the caller.
#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/GraphicEx.h"
#include "graphics/Picture.h"

// The desktop bitmap's picture. A file that the content test cannot open raises as it is; when the class that
// the content test found, or the extension, cannot read the file, EUnusablePicture names the file and says why.
std::unique_ptr<TPicture> LoadWallpaperPicture(const std::string& fileName);

// A preview's picture: nullptr when the file's class cannot read it, for the control panel's preview to keep
// what it shows; raises when the file cannot be opened for its content test.
std::unique_ptr<TPicture> LoadPreviewPicture(const std::string& fileName);
// A preview's picture fitted into target by the rule for a box of width x height.
void DrawFitted(const TPicture& picture, TBitmap& target, int width, int height);

// Width, height and bits per pixel for the properties. Zeros when the class that accepts the content fails to
// load the file; raises when the file cannot be opened or no class loads it by its extension (a JPEG picture
// whose data cannot be decoded included).
TImageProperties LoadPictureProperties(const std::string& fileName);
