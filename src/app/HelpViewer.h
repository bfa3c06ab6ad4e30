#pragma once

class QWidget;

namespace vekaton {

// Opens the user manual, installed with the program.
void ShowManual(QWidget* parent);

// The about box: the version, the licence, and where the manual is.
void ShowAbout(QWidget* parent);

}  // namespace vekaton
