#include "project/pictureline.h"

#include "model/backgroundpicture.h"
#include "shell/tokenizer.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace kelvara {

namespace {

constexpr std::string_view kWord = "PICTURE ";
constexpr std::string_view kFileKey = "FILE=";

} // namespace

std::string pictureLineText(const BackgroundPicture& picture, const QString& projectPath)
{
    if (!picture.loaded())
        return {};
    const QString name = QDir(QFileInfo(projectPath).absolutePath()).relativeFilePath(picture.pictureName);
    return std::string(kWord) + "LEFT=" + std::to_string(picture.picLeft) +
           " TOP=" + std::to_string(picture.picTop) + " SCALE=100 DIM=" + std::to_string(picture.dimPercent) +
           " HIDE=" + (picture.hidden ? "1 " : "0 ") + std::string(kFileKey) +
           QUrl::toPercentEncoding(name, "/").toStdString() + "\r\n";
}

std::optional<PictureLine> readPictureLine(std::string_view line)
{
    if (line.substr(0, kWord.size()) != kWord)
        return std::nullopt;
    // The name is the rest of the line; the numbers come before it.
    const std::size_t file = line.find(kFileKey);
    if (file == std::string_view::npos || file + kFileKey.size() >= line.size())
        return std::nullopt;
    PictureLine out;
    const std::string_view encoded = line.substr(file + kFileKey.size());
    out.file = QUrl::fromPercentEncoding(QByteArray(encoded.data(), static_cast<qsizetype>(encoded.size())));
    std::string_view numbers = line.substr(kWord.size(), file - kWord.size());
    while (!numbers.empty()) {
        const std::size_t end = std::min(numbers.find(' '), numbers.size());
        const std::string_view pair = numbers.substr(0, end);
        numbers.remove_prefix(std::min(end + 1, numbers.size()));
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::optional<int32_t> value = readInteger(pair.substr(eq + 1));
        if (!value)
            continue;
        const std::string key = upperCase(pair.substr(0, eq));
        if (key == "LEFT")
            out.left = *value;
        else if (key == "TOP")
            out.top = *value;
        else if (key == "SCALE" && *value >= 1 && *value <= 10000)
            out.scalePercent = *value;
        else if (key == "DIM")
            out.dimPercent = std::clamp(*value, 0, 100);
        else if (key == "HIDE")
            out.hidden = *value == 1;
    }
    return out;
}

QString picturePathFor(const PictureLine& line, const QString& projectPath)
{
    if (QFileInfo(line.file).isAbsolute())
        return line.file;
    return QDir(QFileInfo(projectPath).absolutePath()).filePath(line.file);
}

} // namespace kelvara
