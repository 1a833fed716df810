#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// The preloaded fault library (fault_shim.cpp) is steered by the environment: these set a
// fault for the length of a scope, in this process and in the processes it starts.
class ScopedFault {
public:
    // "write:1:ENOSPC" and the folder whose files it strikes; `slow` also cuts every write
    // there into small pieces, so the N-th write falls inside the file.
    ScopedFault(const QString &fault, const QString &folder, bool slow = false)
    {
        const QString prefix = QDir(folder).absolutePath() + QLatin1Char('/');
        if (slow)
            qputenv("YORIMO_FAULT_SLOW", QFile::encodeName(prefix + QStringLiteral(":0")));
        qputenv("YORIMO_FAULT", (fault + QLatin1Char(':')).toUtf8() + QFile::encodeName(prefix));
    }
    ~ScopedFault()
    {
        qunsetenv("YORIMO_FAULT");
        qunsetenv("YORIMO_FAULT_SLOW");
    }
    ScopedFault(const ScopedFault &) = delete;
    ScopedFault &operator=(const ScopedFault &) = delete;
};

inline QByteArray file_bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void put_bytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// One failure of a write and what the user is told of it.
struct FaultCase {
    const char *fault;  // as YORIMO_FAULT takes it, without the folder
    const char *reason; // the detail shown
};

// Every step of a write failing in turn, with the reason the user reads.
inline const FaultCase kWriteFaults[] = {
    {"create:1:ENOSPC", "ディスクの空き容量が足りません。"},
    {"write:1:ENOSPC", "ディスクの空き容量が足りません。"},
    {"write:3:EDQUOT", "ディスクの使用量の割り当てを超えています。"},
    {"sync:1:EIO", "ディスクの読み書きでエラーが起きました。"},
    {"close:1:EIO", "ディスクの読み書きでエラーが起きました。"},
    {"rename:1:EROFS", "読み取り専用のファイルシステムです。"},
    {"create:1:EROFS", "読み取り専用のファイルシステムです。"},
};
