#include "drawtools.h"

#include <QFont>

namespace quor {

std::uint32_t applyraster(trastermode mode, std::uint32_t p, std::uint32_t d)
{
    std::uint32_t r = 0;
    switch (mode) {
    case trastermode::black: r = 0; break;
    case trastermode::white: r = ~0u; break;
    case trastermode::nop: r = d; break;
    case trastermode::invert: r = ~d; break;
    case trastermode::copy: r = p; break;
    case trastermode::notcopy: r = ~p; break;
    case trastermode::mergepennot: r = p | ~d; break;
    case trastermode::maskpennot: r = p & ~d; break;
    case trastermode::mergenotpen: r = ~p | d; break;
    case trastermode::masknotpen: r = ~p & d; break;
    case trastermode::merge: r = p | d; break;
    case trastermode::notmerge: r = ~(p | d); break;
    case trastermode::mask: r = p & d; break;
    case trastermode::notmask: r = ~(p & d); break;
    case trastermode::xorpen: r = p ^ d; break;
    case trastermode::notxor: r = ~(p ^ d); break;
    }
    return r & 0xFFFFFF;
}

tfont windowtextfont()
{
    tfont f;
    f.bold = true;
    return f;
}

QFont toqfont(const tfont& f)
{
    QFont q(QString::fromStdString(f.family));
    q.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    // Points at 96 pixels per inch, so text has the same pixel size on every surface.
    q.setPixelSize(f.size > 0 ? (f.size * 96 + 36) / 72 : 1);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeout);
    return q;
}

}  // namespace quor
