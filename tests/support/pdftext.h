#pragma once

// A PDF read back with Debian's poppler-utils (pdfinfo, pdftotext), as a
// reader of the printed page would see it.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

namespace kelvara::testing {

// Standard output of `program arguments...`; empty when it did not run.
inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pdfPageCount(const std::string& path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {QString::fromStdString(path)});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// The page's text in the order it was drawn, its words separated by single
// blanks: a label is followed by its value wherever the layout puts them.
inline QString pdfText(const std::string& path)
{
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-raw"), QString::fromStdString(path), QStringLiteral("-")})
        .simplified();
}

} // namespace kelvara::testing
