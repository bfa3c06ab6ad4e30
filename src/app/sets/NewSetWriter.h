#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "app/sets/NewSetDialog.h"

namespace vekaton {

struct AdxImport;

struct NewSetWritten {
    QString error;      // why nothing was written; empty when the set was
    QStringList notes;  // what the user still has to do
};

// Writes the set a user chose in its folder, under its name, with its port, in the order that
// leaves no half set behind: a library stream with a dashboard made for pages of `page`'s size,
// the imported ADX file `import` (read already), a renamed copy of the demo set, or an empty
// set that holds only its settings. A set of that name already in the folder is never touched.
NewSetWritten WriteNewSet(const NewSetChoice& choice, AdxImport* import, QSize page);

// The demo set copied into `folder` under `setName` (its files renamed), writable.
QString CopyDemoSetAs(const QString& folder, const QString& setName);

}  // namespace vekaton
