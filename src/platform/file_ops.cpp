#include "platform/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

QString temp_folder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

bool is_same_file(const QString &a, const QString &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool file_starts_with(const QString &path, const QByteArray &prefix)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(prefix.size()) == prefix;
}

bool has_other_links(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && st.st_nlink > 1;
}

bool is_read_only_file(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}
