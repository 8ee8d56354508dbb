#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {
QString &directoryOverride()
{
    static QString directory;
    return directory;
}

std::function<void()> &beforeReplace()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

QString programDirectory()
{
    const QString &overridden = directoryOverride();
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void setProgramDirectory(const QString &directory)
{
    directoryOverride() = directory;
}

bool directoryWritable(const QString &directory)
{
    const QFileInfo info(directory);
    return info.isDir() && info.isWritable();
}

QString userConfigDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool makeDirectoryFor(const QString &path)
{
    const QString directory = QFileInfo(path).absolutePath();
    if (QFileInfo(directory).isDir())
        return true;
    if (!makeDirectoryFor(directory))
        return false;
    return QDir().mkdir(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
           || QFileInfo(directory).isDir();
}

void setBeforeReplace(std::function<void()> hook)
{
    beforeReplace() = std::move(hook);
}

bool fileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

std::optional<QByteArray> readBlock(const QString &path, qsizetype maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray block = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return block;
}

bool writeBlock(const QString &path, const QByteArray &block)
{
    QByteArray content;
    if (QFileInfo::exists(path)) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        if (existing.error() != QFileDevice::NoError)
            return false;
    }
    if (content.size() < block.size())
        content.resize(block.size());
    content.replace(0, block.size(), block);

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Flushed before the hook so that the content really is in the file; commit would flush anyway.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (beforeReplace())
        beforeReplace()();
    return file.commit();
}

} // namespace platform
