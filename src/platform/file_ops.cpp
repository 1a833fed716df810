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

bool copy_file_overwrite(const QString &from, const QString &to)
{
    if (QFile::exists(to) && !delete_file_forced(to))
        return false;
    return QFile::copy(from, to);
}

bool delete_file_forced(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return true;
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    return file.remove();
}

bool same_file(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
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
