// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the committed pictures, icons and bell sound against what the program needs of them.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

QString assetsDir()
{
    return qEnvironmentVariable("QUORLIN_SOURCE_DIR") + "/assets";
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The fields of a PNG's IHDR chunk, read straight from the file's bytes.
struct PngHeader
{
    bool valid = false;
    quint32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
};

PngHeader pngHeader(const QByteArray &bytes)
{
    PngHeader h;
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 33 || !bytes.startsWith(QByteArray(signature, 8)) ||
        bytes.mid(12, 4) != "IHDR")
        return h;
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    h.valid = true;
    h.width = qFromBigEndian<quint32>(d + 16);
    h.height = qFromBigEndian<quint32>(d + 20);
    h.bitDepth = d[24];
    h.colourType = d[25];
    h.interlace = d[28];
    return h;
}

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb c)
{
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

double contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// A parsed 16-bit PCM WAV file.
struct Wav
{
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<qint16> samples; // interleaved
    QString error;
};

Wav readWav(const QByteArray &bytes)
{
    Wav w;
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE") {
        w.error = "not a RIFF WAVE file";
        return w;
    }
    qsizetype pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(d + pos + 4);
        const qsizetype body = pos + 8;
        if (body + qsizetype(size) > bytes.size()) {
            w.error = "chunk " + QString::fromLatin1(id) + " runs past the end of the file";
            return w;
        }
        if (id == "fmt " && size >= 16) {
            w.format = qFromLittleEndian<quint16>(d + body);
            w.channels = qFromLittleEndian<quint16>(d + body + 2);
            w.rate = int(qFromLittleEndian<quint32>(d + body + 4));
            w.bits = qFromLittleEndian<quint16>(d + body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || w.bits != 16) {
                w.error = "data before a 16-bit format chunk";
                return w;
            }
            w.samples.resize(size / 2);
            for (quint32 i = 0; i < size / 2; ++i)
                w.samples[i] = qFromLittleEndian<qint16>(d + body + 2 * i);
            return w;
        }
        pos = body + size + (size & 1);
    }
    w.error = "no data chunk";
    return w;
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void picturesHaveTheirFormat_data();
    void picturesHaveTheirFormat();
    void pictureFolderHoldsExactlyTheCatalogue();
    void picturesFitTheEmbeddingBudget();
    void resultFillsKeepTheTextBandReadable_data();
    void resultFillsKeepTheTextBandReadable();
    void iconsAreSquareRgbaAtEverySize();
    void bellIsAStruckBowlThatDiesIntoSilence();

private:
    static const QStringList &catalogue();
};

const QStringList &TestAssets::catalogue()
{
    static const QStringList names{
        "home_bowl.png",          "topic_flower.png",          "cards_board.png",
        "about_notebook.png",     "about_circle.png",          "about_adults.png",
        "about_youth.png",        "review_journal.png",        "mascot_scroll.png",
        "card_about_journal.png", "card_angel_page.png",       "topic_result_pages.png",
        "angel_result_lotus.png", "obstacle_result_loops.png", "base_home_bowl.png",
        "base_topic_flower.png"};
    return names;
}

void TestAssets::picturesHaveTheirFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("cutOut");
    QTest::newRow("home") << "home_bowl.png" << 827 << 548 << false;
    QTest::newRow("topic") << "topic_flower.png" << 827 << 548 << false;
    QTest::newRow("cards") << "cards_board.png" << 720 << 540 << false;
    QTest::newRow("about program") << "about_notebook.png" << 720 << 480 << false;
    QTest::newRow("about writing") << "about_circle.png" << 720 << 477 << false;
    QTest::newRow("about project") << "about_adults.png" << 926 << 617 << false;
    QTest::newRow("about support") << "about_youth.png" << 640 << 480 << false;
    QTest::newRow("review") << "review_journal.png" << 1296 << 968 << false;
    QTest::newRow("mascot") << "mascot_scroll.png" << 720 << 960 << true;
    QTest::newRow("card about") << "card_about_journal.png" << 960 << 717 << false;
    QTest::newRow("card writing") << "card_angel_page.png" << 1600 << 1200 << false;
    QTest::newRow("topic result") << "topic_result_pages.png" << 600 << 600 << false;
    QTest::newRow("angel result") << "angel_result_lotus.png" << 960 << 1280 << false;
    QTest::newRow("obstacle result") << "obstacle_result_loops.png" << 475 << 402 << false;
    QTest::newRow("base home") << "base_home_bowl.png" << 720 << 477 << false;
    QTest::newRow("base topic") << "base_topic_flower.png" << 720 << 477 << false;
}

void TestAssets::picturesHaveTheirFormat()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, cutOut);

    const QByteArray bytes = readAll(assetsDir() + "/pictures/" + name);
    const PngHeader h = pngHeader(bytes);
    QVERIFY2(h.valid, qPrintable(name + " is missing or not a PNG"));
    QCOMPARE(int(h.width), width);
    QCOMPARE(int(h.height), height);
    QCOMPARE(h.bitDepth, 8);
    QCOMPARE(h.colourType, 6); // truecolour with alpha
    QCOMPARE(h.interlace, 0);

    QImage image;
    QVERIFY(image.loadFromData(bytes, "PNG"));
    image = image.convertToFormat(QImage::Format_ARGB32);
    qint64 transparent = 0, opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            transparent += qAlpha(line[x]) == 0;
            opaque += qAlpha(line[x]) == 255;
        }
    }
    const qint64 total = qint64(width) * height;
    if (!cutOut) {
        QVERIFY2(opaque == total, qPrintable(QString("%1 has %2 pixels that are not fully opaque")
                                                 .arg(name)
                                                 .arg(total - opaque)));
        return;
    }
    // A cut-out figure: clear all round the edge, solid in the middle, and mostly one or the other.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1), QPoint(width - 1, height - 1)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
    for (int x = 0; x < width; ++x) {
        QVERIFY2(qAlpha(image.pixel(x, 0)) == 0 && qAlpha(image.pixel(x, height - 1)) == 0,
                 "the figure must not touch the top or bottom edge");
    }
    QCOMPARE(qAlpha(image.pixel(width / 2, height / 2)), 255);
    QVERIFY2(transparent > total / 5, "too little transparent background around the figure");
    QVERIFY2(opaque > total / 4, "the figure is too small or not solid");
    QVERIFY2(transparent + opaque > total * 95 / 100, "too many half-transparent pixels");
}

void TestAssets::pictureFolderHoldsExactlyTheCatalogue()
{
    QStringList found = QDir(assetsDir() + "/pictures").entryList(QDir::Files);
    QStringList wanted = catalogue();
    found.sort();
    wanted.sort();
    // Every file in the folder is embedded, so a stray one would only add weight.
    QCOMPARE(found, wanted);
}

void TestAssets::picturesFitTheEmbeddingBudget()
{
    qint64 total = 0;
    for (const QString &name : catalogue())
        total += QFileInfo(assetsDir() + "/pictures/" + name).size();
    qInfo("pictures take %lld bytes together", total);
    QVERIFY2(total <= 8 * 1024 * 1024,
             qPrintable(QString("the pictures take %1 bytes, more than 8 MiB").arg(total)));
}

void TestAssets::resultFillsKeepTheTextBandReadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("text");
    QTest::newRow("topic, black") << "topic_result_pages.png" << qRgb(0, 0, 0);
    QTest::newRow("angel, cornsilk") << "angel_result_lotus.png" << qRgb(0xff, 0xf8, 0xdc);
    QTest::newRow("obstacle, black") << "obstacle_result_loops.png" << qRgb(0, 0, 0);
}

void TestAssets::resultFillsKeepTheTextBandReadable()
{
    QFETCH(QString, name);
    QFETCH(QRgb, text);
    QImage image(assetsDir() + "/pictures/" + name);
    QVERIFY(!image.isNull());
    // As the result window shows it: stretched over 388 x 555; the label spans y 100 to 250.
    image = image.scaled(388, 555, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
    const double textLuminance = luminance(text);
    int poor = 0, count = 0;
    for (int y = 100; y < 250; ++y) {
        for (int x = 16; x < 372; ++x) {
            ++count;
            poor += contrast(luminance(image.pixel(x, y)), textLuminance) < 4.5;
        }
    }
    const double share = double(poor) / count;
    QVERIFY2(share < 0.03, qPrintable(QString("%1% of the text band contrasts less than 4.5:1 "
                                              "with the text")
                                          .arg(share * 100, 0, 'f', 1)));
}

void TestAssets::iconsAreSquareRgbaAtEverySize()
{
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QString("quorlin-%1.png").arg(size);
        const PngHeader h = pngHeader(readAll(assetsDir() + "/icons/" + name));
        QVERIFY2(h.valid, qPrintable(name + " is missing or not a PNG"));
        QCOMPARE(int(h.width), size);
        QCOMPARE(int(h.height), size);
        QCOMPARE(h.bitDepth, 8);
        QCOMPARE(h.colourType, 6);
        QCOMPARE(h.interlace, 0);
    }
}

void TestAssets::bellIsAStruckBowlThatDiesIntoSilence()
{
    const Wav w = readWav(readAll(assetsDir() + "/80578_634166-lq.wav"));
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.format, 1); // integer PCM
    QCOMPARE(w.bits, 16);
    QVERIFY2(w.channels == 1 || w.channels == 2, "mono or stereo");
    QVERIFY2(w.rate == 44100 || w.rate == 48000, "44.1 or 48 kHz");
    const qsizetype frames = qsizetype(w.samples.size()) / w.channels;
    const double seconds = double(frames) / w.rate;
    QVERIFY2(seconds >= 6.0 && seconds <= 10.0, qPrintable(QString("lasts %1 s").arg(seconds)));

    // Loudest sample near -3 dBFS, and nothing at full scale, which would mean clipping.
    int peak = 0;
    qsizetype peakAt = 0;
    for (qsizetype i = 0; i < qsizetype(w.samples.size()); ++i) {
        const int v = std::abs(int(w.samples[size_t(i)]));
        if (v > peak) {
            peak = v;
            peakAt = i / w.channels;
        }
    }
    const double peakDb = 20.0 * std::log10(peak / 32768.0);
    QVERIFY2(peakDb > -4.0 && peakDb < -2.0, qPrintable(QString("peak %1 dBFS").arg(peakDb)));
    QVERIFY2(peak < 32767, "clipped");

    // A soft mallet: the sound starts from nothing and swells to its peak early on.
    for (int i = 0; i < 8 * w.channels; ++i)
        QVERIFY2(std::abs(int(w.samples[size_t(i)])) < 200, "the strike starts with a click");
    QVERIFY2(peakAt < w.rate / 2, "the loudest moment should come right after the strike");

    // Each second is quieter than the one before: a natural decay, not a fade from steady tone.
    auto rms = [&](qsizetype from, qsizetype to) {
        double sum = 0;
        for (qsizetype i = from * w.channels; i < to * w.channels; ++i)
            sum += double(w.samples[size_t(i)]) * w.samples[size_t(i)];
        return std::sqrt(sum / double((to - from) * w.channels));
    };
    double previous = rms(0, w.rate);
    for (qsizetype s = 1; (s + 1) * w.rate <= frames; ++s) {
        const double now = rms(s * w.rate, (s + 1) * w.rate);
        QVERIFY2(now < previous || now == 0.0,
                 qPrintable(QString("second %1 is not quieter than the one before").arg(s)));
        previous = now;
    }
    // At least half a second of true digital silence at the end, and the sound fades into it
    // without a step: the last 200 ms before the silence stay below -60 dBFS.
    const qsizetype tail = w.rate / 2;
    for (qsizetype i = (frames - tail) * w.channels; i < frames * w.channels; ++i)
        QVERIFY2(w.samples[size_t(i)] == 0, "the end is not digital silence");
    qsizetype lastSound = frames - 1;
    while (lastSound > 0 && w.samples[size_t(lastSound * w.channels)] == 0)
        --lastSound;
    for (qsizetype i = std::max<qsizetype>(0, lastSound - w.rate / 5) * w.channels;
         i <= lastSound * w.channels; ++i)
        QVERIFY2(std::abs(int(w.samples[size_t(i)])) < 33, "the sound stops with a click");
}

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"
