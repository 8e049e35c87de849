// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting.h"

#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QTextLayout>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace quorlin::assetgen {

namespace {

// Text is shaped and outlined at this pixel size, unhinted, then scaled to the size wanted:
// the same outlines at every size, and positions far finer than a pixel.
constexpr double ShapeSize = 100.0;

struct Face
{
    QString error;
    QString family;
    QRawFont raw;
    QByteArray head; // the font's 'head' table, which carries a checksum of the whole file
    QHash<quint32, QPainterPath> outlines;
};

Face &face()
{
    static Face f = [] {
        Face loaded;
        const QString path = QStringLiteral(QUORLIN_HANDWRITING_FONT);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            loaded.error = QStringLiteral("cannot read the handwriting face %1: %2 (Debian: "
                                          "install fonts-tlwg-purisa-otf)")
                               .arg(path, file.errorString());
            return loaded;
        }
        const QByteArray data = file.readAll();
        const int id = QFontDatabase::addApplicationFontFromData(data);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        loaded.raw.loadFromData(data, ShapeSize, QFont::PreferNoHinting);
        if (id < 0 || families.isEmpty() || !loaded.raw.isValid()) {
            loaded.error = QStringLiteral("%1 is not a font the toolkit can load").arg(path);
            return loaded;
        }
        if (!loaded.raw.supportsCharacter(QChar(0x0E01))) {
            loaded.error = QStringLiteral("%1 has no Thai letters").arg(path);
            return loaded;
        }
        loaded.family = families.first();
        loaded.head = loaded.raw.fontTable("head");
        // Thai runs its words together, and Qt asks libthai, loaded at run time, where a line
        // may break. Without it the lines would wrap elsewhere and the pictures would change.
        QFont font(loaded.family);
        font.setPixelSize(int(ShapeSize));
        QTextLayout probe(QStringLiteral("สวัสดีตอนเช้า"), font);
        QTextOption wrap;
        wrap.setWrapMode(QTextOption::WordWrap);
        probe.setTextOption(wrap);
        probe.beginLayout();
        for (QTextLine line = probe.createLine(); line.isValid(); line = probe.createLine())
            line.setLineWidth(1);
        probe.endLayout();
        if (probe.lineCount() != 3)
            loaded.error = QStringLiteral("Qt finds no word boundaries in Thai text, which it "
                                          "needs libthai for (Debian: libthai0)");
        return loaded;
    }();
    return f;
}

[[noreturn]] void fail(const QString &message)
{
    QTextStream(stderr) << "quorlin_assetgen: " << message << '\n';
    std::exit(1);
}

const Face &loadedFace()
{
    QString error;
    if (!handwritingAvailable(&error))
        fail(error);
    return face();
}

QFont shapingFont()
{
    QFont font(loadedFace().family);
    font.setPixelSize(int(ShapeSize));
    font.setHintingPreference(QFont::PreferNoHinting);
    // A character the face lacks must not be taken from whatever other font is installed.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QTextOption shapingOption()
{
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// The face's outline of a glyph at ShapeSize, baseline at y = 0.
const QPainterPath &outline(quint32 glyph)
{
    Face &f = face();
    auto it = f.outlines.find(glyph);
    if (it == f.outlines.end())
        it = f.outlines.insert(glyph, f.raw.pathForGlyph(glyph));
    return *it;
}

// The slow irregularities of a hand along one line: the baseline wanders and tilts, letters
// turn and swell a little. All are smooth in x, so that a vowel or tone mark, placed at about
// the x of its consonant, moves with it and stays where the face's shaping put it.
struct Hand
{
    double drift, phase[3], alpha;

    explicit Hand(Random &rng)
        : drift(rng.symmetric() * 0.008), alpha(rng.range(0.86, 0.96))
    {
        for (double &ph : phase)
            ph = rng.range(0, 2 * M_PI);
    }
    double rise(double x, double size) const
    {
        return drift * x + size * 0.025 * std::sin(x / (size * 2.3) + phase[0]);
    }
    double turn(double x, double size) const
    {
        return 1.6 * std::sin(x / (size * 3.1) + phase[1]);
    }
    double swell(double x, double size) const
    {
        return 1.0 + 0.035 * std::sin(x / (size * 1.7) + phase[2]);
    }
};

struct Placed
{
    quint32 glyph;
    QPointF at; // pen position at ShapeSize, baseline at y = 0
};

// This face's ช and ซ reach up with a flag into the space where it puts a tone mark over a
// consonant with no upper vowel, so that there the mark crosses the flag and can hardly be
// read. A mark above the line is raised, with the marks stacked on it, until it clears the ink
// of its cluster; marks that already stand clear, as almost all do, stay where they are.
void clearMarks(std::vector<Placed> &glyphs)
{
    const QRawFont &raw = face().raw;
    QPainterPath cluster;
    double lift = 0;
    for (Placed &g : glyphs) {
        const QPainterPath shape = outline(g.glyph).translated(g.at);
        const bool mark = raw.advancesForGlyphIndexes(QList<quint32>{g.glyph}).value(0).x() == 0;
        if (!mark) {
            cluster = shape;
            lift = 0;
            continue;
        }
        if (shape.isEmpty() || shape.boundingRect().center().y() > -0.3 * ShapeSize)
            continue; // a mark below the line
        QPainterPath moved = shape.translated(0, -lift);
        if (moved.intersects(cluster)) {
            for (int step = 0; step < 12 && moved.intersects(cluster); ++step) {
                lift += 0.02 * ShapeSize;
                moved = shape.translated(0, -lift);
            }
            lift += 0.04 * ShapeSize; // a little air between them
            moved = shape.translated(0, -lift);
        }
        g.at.ry() -= lift;
        cluster.addPath(moved);
    }
}

// Draws one laid-out line whose baseline starts at start, its letters narrowed by squeeze.
void drawLine(QPainter &p, QPointF start, const QTextLine &line, const QString &text,
              const Handwriting &style, Random &rng, double squeeze = 1.0)
{
    const Face &f = loadedFace();
    std::vector<Placed> glyphs;
    for (const QGlyphRun &run : line.glyphRuns()) {
        if (run.rawFont().fontTable("head") != f.head)
            fail(QStringLiteral("the text was shaped with another font than the handwriting "
                                "face (%1)")
                     .arg(run.rawFont().familyName()));
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            if (indexes[i] == 0)
                fail(QStringLiteral("the handwriting face lacks a character of \"%1\"")
                         .arg(text.mid(line.textStart(), line.textLength())));
            glyphs.push_back({indexes[i], positions[i] - QPointF(0, line.ascent())});
        }
    }
    clearMarks(glyphs);

    const double k = style.size / ShapeSize;
    const Hand hand(rng);
    QPainterPath ink;
    ink.setFillRule(Qt::WindingFill);
    for (const Placed &g : glyphs) {
        const double x = g.at.x() * k * squeeze;
        QTransform t;
        t.translate(start.x() + x, start.y() + g.at.y() * k - hand.rise(x, style.size));
        t.rotate(hand.turn(x, style.size));
        t.scale(k * squeeze * hand.swell(x, style.size), k * hand.swell(x, style.size));
        t.shear(-style.slant, 0);
        ink.addPath(t.map(outline(g.glyph)));
    }
    QColor colour = style.ink;
    colour.setAlphaF(colour.alphaF() * hand.alpha);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (style.weight > 0)
        p.setPen(QPen(colour, style.weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(style.weight > 0 ? ink.simplified() : ink);
    p.restore();
}

} // namespace

bool handwritingAvailable(QString *error)
{
    const Face &f = face();
    if (error)
        *error = f.error;
    return f.error.isEmpty();
}

int handwriting(QPainter &p, const QRectF &area, const QStringList &paragraphs,
                const Handwriting &style, Random &rng)
{
    const double k = style.size / ShapeSize;
    double baseline = area.top() + style.lineHeight * 0.8;
    int written = 0;
    for (const QString &paragraph : paragraphs) {
        // A hand does not fill every line to the margin: each line stops a little short.
        std::vector<double> room;
        auto roomFor = [&](int n) {
            while (room.size() <= size_t(n))
                room.push_back(area.width() * rng.range(0.93, 1.0));
            return room[size_t(n)] - (n == 0 ? style.indent * style.size : 0.0);
        };
        QTextLayout layout(paragraph, shapingFont());
        layout.setTextOption(shapingOption());
        auto layOut = [&](int widened, double extra) {
            layout.beginLayout();
            for (int n = 0;; ++n) {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth((roomFor(n) + (n == widened ? extra : 0.0)) / k);
                line.setPosition(QPointF(0, 0));
            }
            layout.endLayout();
        };
        layOut(-1, 0);
        // A last word alone on its line is squeezed in at the end of the line before, as a
        // writer does who sees it coming.
        const int lines = layout.lineCount();
        if (lines >= 2) {
            const double orphan = layout.lineAt(lines - 1).naturalTextWidth() * k;
            if (orphan < 3.0 * style.size) {
                layOut(lines - 2, orphan + style.size);
                if (layout.lineCount() != lines - 1)
                    layOut(-1, 0);
            }
        }
        for (int n = 0; n < layout.lineCount(); ++n) {
            if (baseline > area.bottom())
                fail(QStringLiteral("\"%1\" runs past the foot of its area")
                         .arg(paragraph.left(40)));
            const double indent = n == 0 ? style.indent * style.size : 0.0;
            const QTextLine line = layout.lineAt(n);
            const double natural = line.naturalTextWidth() * k;
            const double squeeze = std::min(1.0, (area.width() - indent) / natural);
            drawLine(p, QPointF(area.left() + indent, baseline), line, paragraph, style, rng,
                     squeeze);
            baseline += style.lineHeight;
            ++written;
        }
    }
    return written;
}

void handwritingLine(QPainter &p, QPointF start, const QString &text, const Handwriting &style,
                     Random &rng)
{
    QTextLayout layout(text, shapingFont());
    layout.setTextOption(shapingOption());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    drawLine(p, start, line, text, style, rng);
}

double handwritingWidth(const QString &text, const Handwriting &style)
{
    QTextLayout layout(text, shapingFont());
    layout.setTextOption(shapingOption());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return line.naturalTextWidth() * style.size / ShapeSize;
}

} // namespace quorlin::assetgen
