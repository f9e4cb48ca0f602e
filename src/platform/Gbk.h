#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The GBK code page (936): the byte widths that limits and line breaking count in,
// and the bytes of legacy files and password digests.
namespace slipcraft::gbk {

// Width of one character in GBK bytes: 1 for ASCII, 2 for every other character.
constexpr int charWidth(char32_t codePoint) { return codePoint < 0x80 ? 1 : 2; }

// Width of a text in GBK bytes.
int width(QStringView text);

// GBK bytes of text; a character outside GBK becomes "?".
QByteArray encode(QStringView text);

// Text of GBK bytes; a byte sequence that is not GBK becomes U+FFFD.
QString decode(QByteArrayView bytes);

} // namespace slipcraft::gbk
