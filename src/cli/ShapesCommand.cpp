#include <iomanip>
#include <iostream>

#include "cli/CliCommands.h"

namespace tvlc {

namespace {

void PrintShapeTable(const TShapeList& shapes) {
  std::cout << std::left << std::setw(14) << "name" << std::right << std::setw(10) << "id"
            << std::setw(7) << "left" << std::setw(7) << "top" << std::setw(7) << "right"
            << std::setw(7) << "bottom" << std::setw(9) << "points" << std::setw(12) << "window"
            << std::setw(12) << "rounding %" << std::setw(10) << "total %" << "\n";
  for (const TShapeItem& item : shapes) {
    const TShape& s = *item.Shape;
    const std::string window =
        std::to_string(s.RoundedWidth()) + "x" + std::to_string(s.RoundedHeight());
    std::cout << std::left << std::setw(14) << item.Name << std::right << std::setw(10) << s.ID
              << std::setw(7) << s.Left << std::setw(7) << s.Top << std::setw(7) << s.Right
              << std::setw(7) << s.Bottom << std::setw(9) << s.PointCount << std::setw(12)
              << window << std::fixed << std::setprecision(2) << std::setw(12)
              << s.RoundingSlack() << std::setw(10) << s.TotalSlack() << "\n";
  }
}

void PrintShapeCsv(const TShapeList& shapes) {
  std::cout << "name,id,left,top,right,bottom,points,rounded_width,rounded_height\n";
  for (const TShapeItem& item : shapes) {
    const TShape& s = *item.Shape;
    std::cout << item.Name << ',' << s.ID << ',' << s.Left << ',' << s.Top << ',' << s.Right
              << ',' << s.Bottom << ',' << s.PointCount << ',' << s.RoundedWidth() << ','
              << s.RoundedHeight() << "\n";
  }
}

}  // namespace

int ShapesCommand(const TCliOptions& options) {
  if (options.files.size() != 2) return UsageError("shapes needs PICTURE and MAP");
  TCliSession session(options);
  if (!session.LoadInputs(options, !options.csv)) return 1;
  if (options.csv)
    PrintShapeCsv(session.core.Shapes);
  else
    PrintShapeTable(session.core.Shapes);
  return 0;
}

}  // namespace tvlc
