// The widget test program's QApplication.
#include "support/QtTestEnvironment.h"
