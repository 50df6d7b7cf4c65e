#pragma once
// The report output paths that must be refused, as rows of a data-driven test:
// the data file (also through a symbolic link and under a second name), its -wal
// and -shm files, the engine configuration, a directory, a fifo and a device.
// Each row names the kind, a word of the reason the refusal gives, and whether
// the report is a PDF or a text file (both for each kind, unless `pdfAndText` is false:
// then one row a kind).
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

inline void refusedOutputRows(bool pdfAndText = true)
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("pdf");
    const struct {
        const char* kind;
        const char* reason;
    } rows[] = {{"data file", "it is the data file"},
                {"link to the data file", "it is the data file"},
                {"data file under a second name", "it is the data file"},
                {"-wal file", "it is the data file's -wal file"},
                {"-shm file", "it is the data file's -shm file"},
                {"-journal file", "it is the data file's -journal file"},
                {"engine configuration", "it is the database engine's configuration file"},
                {"directory", "it is a directory"},
                {"fifo", "it is not a regular file"},
                {"device", "it is not a regular file"}};
    for (const auto& r : rows)
        for (const bool pdf : {true, false}) {
            if (!pdfAndText && !pdf)
                continue;
            const QString name = pdfAndText ? QStringLiteral("%1, %2").arg(QLatin1String(r.kind), pdf ? "pdf" : "text")
                                            : QString::fromLatin1(r.kind);
            QTest::newRow(qPrintable(name)) << QString::fromLatin1(r.kind) << QString::fromLatin1(r.reason) << pdf;
        }
}

// The path of the row's kind; `scratch` is a directory for the links and the fifo.
inline QString refusedOutputPath(const QString& kind, const TempData& data, const QString& scratch)
{
    const QString file = data.dataFile();
    if (kind == QLatin1String("data file"))
        return file;
    if (kind == QLatin1String("link to the data file")) {
        const QString link = scratch + QStringLiteral("/report.txt");
        QFile::link(file, link);
        return link;
    }
    if (kind == QLatin1String("data file under a second name")) {
        const QString second = scratch + QStringLiteral("/second.db");
        ::link(QFile::encodeName(file).constData(), QFile::encodeName(second).constData());
        return second;
    }
    if (kind == QLatin1String("-wal file"))
        return file + QStringLiteral("-wal");
    if (kind == QLatin1String("-shm file"))
        return file + QStringLiteral("-shm");
    if (kind == QLatin1String("-journal file"))
        return file + QStringLiteral("-journal");
    if (kind == QLatin1String("engine configuration"))
        return data.configPath;
    if (kind == QLatin1String("directory"))
        return data.dataDir;
    if (kind == QLatin1String("fifo")) {
        const QString fifo = scratch + QStringLiteral("/report.pdf");
        ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
        return fifo;
    }
    return QStringLiteral("/dev/null");
}

// What is at a path: its kind and, for a regular file, a digest of its bytes.
inline QString whatIsAt(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("nothing");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link to ") + QFileInfo(path).symLinkTarget() + QLatin1Char(' ') +
               whatIsAt(QFileInfo(path).canonicalFilePath());
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("directory");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("device %1").arg(qulonglong(st.st_rdev));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable file");
    return QStringLiteral("file of %1 bytes, digest %2")
        .arg(st.st_size)
        .arg(QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex()));
}
