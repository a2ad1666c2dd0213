#include "QOVASFBStereoFile.h"

#include "log/log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <vector>

namespace {

const QString kHeader = QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\RTC\\ENGINE]");
const QString kEntryKey = QStringLiteral("\"StereoConfiguration\"");

// One line of the file with the line end it had ("\r\n", "\n", "\r" or none).
struct Line {
    QString text;
    QString end;
};

std::vector<Line> splitLines(const QString &content)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    const qsizetype n = content.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = content.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        qsizetype endLength = (c == u'\r' && i + 1 < n && content.at(i + 1) == u'\n') ? 2 : 1;
        lines.push_back({content.mid(start, i - start), content.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < n)
        lines.push_back({content.mid(start), QString()});
    return lines;
}

QString joinLines(const std::vector<Line> &lines)
{
    QString out;
    for (const Line &line : lines)
        out += line.text + line.end;
    return out;
}

bool isBlank(const QString &text) { return text.trimmed().isEmpty(); }

bool isHeader(const QString &text)
{
    return text.trimmed().startsWith(kHeader, Qt::CaseInsensitive);
}

bool isSectionStart(const QString &text) { return text.trimmed().startsWith(u'['); }

bool isStereoEntry(const QString &text)
{
    return text.trimmed().startsWith(kEntryKey, Qt::CaseInsensitive);
}

} // namespace

QString QOVASFBStereoFile::stereoSection()
{
    return kHeader + QStringLiteral("\r\n") + kEntryKey + QStringLiteral("=dword:00000001");
}

QString QOVASFBStereoFile::defaultPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/rtcpal_registry.reg");
}

QString QOVASFBStereoFile::applyStereo(const QString &content, bool enable)
{
    std::vector<Line> lines = splitLines(content);

    size_t header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isHeader(lines[i].text)) {
            header = i;
            break;
        }
    }
    if (header == lines.size()) {
        if (!enable)
            return content;
        return content + QStringLiteral("\r\n") + stereoSection();
    }

    size_t entry = lines.size();
    size_t next = header + 1;
    while (next < lines.size() && isBlank(lines[next].text))
        ++next;
    if (next < lines.size() && isStereoEntry(lines[next].text))
        entry = next;

    if (enable) {
        // The section replaces the header (and the entry); the line end that
        // followed the last replaced line stays.
        const size_t last = entry != lines.size() ? entry : header;
        const QString end = lines[last].end;
        lines.erase(lines.begin() + qsizetype(header), lines.begin() + qsizetype(last) + 1);
        const QString entryLine = kEntryKey + QStringLiteral("=dword:00000001");
        lines.insert(lines.begin() + qsizetype(header),
                     {Line{kHeader, QStringLiteral("\r\n")}, Line{entryLine, end}});
        return joinLines(lines);
    }

    // The entry goes; the header goes with it when nothing but blank lines
    // would be left in its section.
    size_t first = entry != lines.size() ? entry : header;
    size_t last = entry != lines.size() ? entry : header;
    bool empty = true;
    for (size_t i = header + 1; i < lines.size() && !isSectionStart(lines[i].text); ++i) {
        if (i != entry && !isBlank(lines[i].text)) {
            empty = false;
            break;
        }
    }
    if (empty)
        first = header;
    else if (entry == lines.size())
        return content;
    if (lines[last].end.isEmpty() && first > 0) {
        // The removed lines ended the content: the line end before them
        // belonged to them, so it goes too.
        lines[first - 1].end.clear();
    }
    lines.erase(lines.begin() + qsizetype(first), lines.begin() + qsizetype(last) + 1);
    return joinLines(lines);
}

bool QOVASFBStereoFile::setStereoEnable(const QString &path, bool enable)
{
    QString content;
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        QOVA_LOG(INFO, UI, "registry file has existed.");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            QOVA_LOG(ERROR, UI, "Read register file failed, error code is 0x%08x",
                     unsigned(file.error()));
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            QOVA_LOG(ERROR, UI, "Read register file failed, error code is 0x%08x",
                     unsigned(file.error()));
            return false;
        }
        QOVA_LOG(INFO, UI, "encoding type is NSUTF16LittleEndianStringEncoding");
        QByteArray body = bytes;
        if (body.startsWith("\xff\xfe"))
            body.remove(0, 2);
        content = QString::fromUtf16(reinterpret_cast<const char16_t *>(body.constData()),
                                     body.size() / 2);
        content = applyStereo(content, enable);
        if (bytes.startsWith("\xff\xfe"))
            content.prepend(QChar(0xFEFF));
    } else {
        if (!enable)
            return true;  // nothing to switch off
        content = stereoSection();
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    bool ok = out.open(QIODevice::WriteOnly);
    if (ok) {
        QByteArray encoded;
        encoded.reserve(content.size() * 2);
        for (QChar c : content) {
            const char16_t u = c.unicode();
            encoded.append(char(u & 0xFF));
            encoded.append(char(u >> 8));
        }
        ok = out.write(encoded) == encoded.size() && out.commit();
    }
    if (ok)
        QOVA_LOG(INFO, UI, "Write Register file successfully.");
    else
        QOVA_LOG(ERROR, UI, "Write Register file failed, error code is 0x%08x", unsigned(out.error()));
    return ok;
}
