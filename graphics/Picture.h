#pragma once
// TPicture, a container that holds at most one picture, and the extension registry, which picks a picture
// class by a file's extension and gives the picture-file dialog its list of file types.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Graphics.h"

struct TPictureFileFormat {
  std::string Extension;    // lower case, without the dot; empty for names without an extension
  std::string Description;  // as the file dialog shows it
  const TGraphicClass* GraphicClass;
};

// The registry's entries in the order in which they were added.
const std::vector<TPictureFileFormat>& PictureFileFormats();

// The class of the most recently added entry with that extension (letter case ignored), or nullptr.
const TGraphicClass* FindPictureClass(std::string_view extension);

// The file dialog's filter, entries separated by '|': "All (*.png;...;*.wmf)|*.png;...;*.wmf", then one
// "Description (*.ext)|*.ext" per extension from the most recent entry back, the empty extension left out.
std::string GraphicFilter();

class TPicture {
public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Null when the picture holds nothing.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Stores a copy of graphic (of the same class); the given instance stays with its owner.
  void SetGraphic(const TGraphic* graphic);
  // Takes the graphic itself, for an owner that would free it right after the copy.
  void TakeGraphic(std::unique_ptr<TGraphic> graphic) { FGraphic = std::move(graphic); }

  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Loads by the file's extension; the held graphic is replaced only when the load succeeds. Raises
  // EInvalidGraphic "Unknown picture file extension (.%s)" for an extension that the registry lacks.
  void LoadFromFile(const std::string& fileName);

private:
  std::unique_ptr<TGraphic> FGraphic;
};
