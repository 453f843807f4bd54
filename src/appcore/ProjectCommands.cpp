// File > Save and File > Open: the project file.
#include "appcore/MainCore.h"
#include "base/ReplaceFile.h"
#include "files/ProjectFile.h"

namespace tvlc {

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

bool TMainCore::Save1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  return WithinMemory("save project " + path, [&] { return SaveProject(path); });
}

bool TMainCore::SaveProject(const std::string& path) {
  if (Picture.Empty() || Map.Empty()) {
    AddLog("Error: nothing to save, load picture and map first\r\n");
    return false;
  }
  AddLog("Saving file " + path + " ...");
  try {
    ReplaceFile(path, ProjectBytes(Picture, Map, Shapes));
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
  AddLog("Picture of size " + SizeText(PicWidth, PicHeight) + " saved...");
  AddLog("Map of size " + SizeText(MapWidth, MapHeight) + " saved...");
  AddLog(std::to_string(Shapes.size()) + " shapes saved.");
  return true;
}

bool TMainCore::Open1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  return WithinMemory("open project " + path, [&] { return OpenProject(path); });
}

bool TMainCore::OpenProject(const std::string& path) {
  AddLog("Opening file " + path + " ...");
  TProjectContents project;
  try {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (!HasProjectMagic(bytes)) {
      AddLog("Error: incorrect input file format");
      return false;
    }
    project = ReadProject(bytes);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog("Error: cannot open project " + path + ": " + e.what() + "\r\n");
    return false;
  }

  // The whole file is read and checked, and the decoded views of its map
  // need no more memory than this: only now does the state change.
  DecodedMask.reserve(size_t(project.Map.Width()) * size_t(project.Map.Height()));
  Picture = std::move(project.Picture);
  PicWidth = Picture.Width();
  PicHeight = Picture.Height();
  PicData = std::move(project.PicData);
  PicDrawArea = TImage(PicWidth, PicHeight, kWhite);
  AddLog("Picture of size " + SizeText(PicWidth, PicHeight) + " loaded...");

  Map = std::move(project.Map);
  MapWidth = Map.Width();
  MapHeight = Map.Height();
  MapData = std::move(project.MapData);
  MapDrawArea = TImage(MapWidth, MapHeight, kWhite);
  ResetDecodedViews();
  AddLog("Map of size " + SizeText(MapWidth, MapHeight) + " loaded...");

  ReplaceShapes(std::move(project.Shapes));
  AddLog(std::to_string(Shapes.size()) + " shapes loaded.\r\n");
  ResetDecodedViews();
  return true;
}

}  // namespace tvlc
