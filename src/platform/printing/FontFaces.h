#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

// Maps the Windows faces that templates name ("宋体", "Arial", …) to faces installed
// here, so that text keeps its style and metrics; a face with every Chinese character
// comes last. Only faces whose text a PDF reader extracts exactly are used: printed
// PDFs are the users' record of what was printed. Safe to call more than once.
void installFontSubstitutions();

// The face to ask for when printing a face a template names: the name itself when it is
// installed or mapped, else "宋体", so that an unknown face never falls to a face whose
// PDF text does not read back.
QString printableFace(const QString& face);

// What a layout editor offers as print faces: the faces templates name, then every
// installed family (vertical "@" faces left out).
QStringList fontChoices();

} // namespace slipcraft
