#pragma once

class QWidget;

namespace vekaton {

// Opens the user manual, which ships inside the program.
void ShowManual(QWidget* parent);

}  // namespace vekaton
