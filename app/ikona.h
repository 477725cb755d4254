#pragma once

#include <QIcon>

// The program's icon: a football, drawn rather than shipped as a file.
QIcon ProgramIcon();
