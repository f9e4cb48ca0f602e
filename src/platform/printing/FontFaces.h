#pragma once

namespace slipcraft {

// Maps the Windows faces that templates name ("宋体", "Arial", …) to faces installed
// here, so that text keeps its style and metrics; a face with every Chinese character
// comes last. Safe to call more than once.
void installFontSubstitutions();

} // namespace slipcraft
