// The program's icon, drawn rather than shipped as a file: a grey picture
// cut into regions.
#pragma once

#include <QIcon>

namespace tvlc {

QIcon ProgramIcon();

}  // namespace tvlc
