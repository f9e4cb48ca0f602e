#include "platform/Gbk.h"


#include <cerrno>
#include <iconv.h>

namespace slipcraft::gbk {

namespace {

// One conversion through iconv. An input sequence that cannot be converted is
// replaced by `replacement` and skipped by `skipBytes`.
QByteArray convert(const char* to, const char* from, QByteArrayView input,
                   QByteArrayView replacement, int (*skipBytes)(const char*, size_t))
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.reserve(input.size() * 2 + 4);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = size_t(input.size());
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: an unconvertible or truncated sequence.
        out.append(replacement);
        int skip = skipBytes(in, inLeft);
        in += skip;
        inLeft -= size_t(skip);
    }
    iconv_close(cd);
    return out;
}

int utf8SequenceLength(const char* p, size_t left)
{
    const auto lead = static_cast<unsigned char>(*p);
    int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > int(left) ? int(left) : length;
}

int gbkSequenceLength(const char* p, size_t left)
{
    const auto lead = static_cast<unsigned char>(p[0]);
    if (lead < 0x81 || lead > 0xFE || left < 2)
        return 1;
    const auto trail = static_cast<unsigned char>(p[1]);
    return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

} // namespace

int width(QStringView text)
{
    int bytes = 0;
    for (QChar c : text) {
        // A surrogate pair is one character: its high half counts for both.
        if (!c.isLowSurrogate())
            bytes += charWidth(c.unicode());
    }
    return bytes;
}

QByteArray encode(QStringView text)
{
    return convert("GBK", "UTF-8", text.toUtf8(), "?", utf8SequenceLength);
}

QString decode(QByteArrayView bytes)
{
    return QString::fromUtf8(convert("UTF-8", "GBK", bytes, "\xEF\xBF\xBD", gbkSequenceLength));
}

} // namespace slipcraft::gbk
