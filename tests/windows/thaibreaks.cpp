// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the words Qt finds in a Thai sentence, joined by "|": a probe for the Windows tests,
// run where the program is installed, so that Qt finds thai.dll and its dictionary as the
// program does.
#include <QCoreApplication>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString sentence = QStringLiteral("ภาษาไทยเป็นภาษาที่สวยงาม");
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, sentence);
    QStringList words;
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        words << sentence.mid(start, finder.position() - start);
        start = finder.position();
    }
    const QByteArray line = words.join(QLatin1Char('|')).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    return 0;
}
