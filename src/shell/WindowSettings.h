#pragma once

class QWidget;

namespace slipcraft {

class IniFile;

// A window's size in Config.ini, kept only while the window is in its normal state.
void FormFaceSave(QWidget* window, IniFile& ini);
void FormFaceLoad(QWidget* window, const IniFile& ini);

} // namespace slipcraft
