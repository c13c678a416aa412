#include "standintool.h"

#include "output/rendertool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <algorithm>

const QString StandInTool::unpatchedVersion = QStringLiteral("wkhtmltoimage 0.12.6");
const QString StandInTool::patchedVersion = QStringLiteral("wkhtmltoimage 0.12.6 (with patched qt)");
const QString StandInTool::copySource = QStringLiteral("cp \"$dir/source.png\" \"$img\"");

StandInTool::StandInTool(const QString &appFolder, const QString &body, const QString &version)
    : m_folder(appFolder)
{
    QFile::remove(m_folder + "/args.log");
    QFile::remove(m_folder + "/runs.count");
    QDir(m_folder).rmdir("standin.lock");
    for (const QString &name : QDir(m_folder).entryList({"html_*.html"}))
        QFile::remove(m_folder + "/" + name);
    setSource(QSize(248, 351));
    // Runs at the same time log one after the other (a lock held for a few
    // moments at most: a run ended meanwhile leaves it behind).
    const QString script = QString("#!/bin/sh\n"
                                   "dir=\"$(dirname \"$0\")\"\n"
                                   "if [ \"$1\" = \"--version\" ]; then echo \"%1\"; exit 0; fi\n"
                                   "html=\"\"; img=\"\"\n"
                                   "for a in \"$@\"; do html=\"$img\"; img=\"$a\"; done\n"
                                   "tries=0\n"
                                   "until mkdir \"$dir/standin.lock\" 2>/dev/null || [ $tries -ge 300 ]; do\n"
                                   "  tries=$((tries + 1)); sleep 0.01\n"
                                   "done\n"
                                   "n=$(( $(cat \"$dir/runs.count\" 2>/dev/null || echo 0) + 1 ))\n"
                                   "echo $n > \"$dir/runs.count\"\n"
                                   "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo \"---- $n\"; } "
                                   ">> \"$dir/args.log\"\n"
                                   "cp \"$html\" \"$dir/html_$n.html\"\n"
                                   "rmdir \"$dir/standin.lock\"\n")
                               .arg(version)
                           + body + "\n";
    QFile file(m_folder + "/" + RenderPlatform::toolFileName());
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the stand-in tool");
    file.write(script.toUtf8());
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

void StandInTool::setSource(const QSize &size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.save(m_folder + "/source.png");
}

namespace {

// Names compared with their numbers as numbers: page_2 before page_10.
bool namedBefore(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            int ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            const qlonglong x = a.mid(i, ei - i).toLongLong(), y = b.mid(j, ej - j).toLongLong();
            if (x != y)
                return x < y;
            i = ei;
            j = ej;
        } else {
            if (a.at(i) != b.at(j))
                return a.at(i) < b.at(j);
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QList<StandInTool::Run> StandInTool::orderedRuns() const
{
    QFile file(m_folder + "/args.log");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Run> logged;
    Run run;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith("---- ")) {
            run.number = line.mid(5).toInt();
            logged.append(run);
            run = Run();
        } else if (!line.isEmpty()) {
            run.arguments.append(line);
        }
    }
    std::sort(logged.begin(), logged.end(), [](const Run &a, const Run &b) { return a.number < b.number; });

    // Renders in the order they first ran; each one's runs by picture name.
    QStringList folders;
    for (const Run &r : std::as_const(logged)) {
        const QString folder = QFileInfo(r.arguments.value(r.arguments.size() - 1)).path();
        if (!folders.contains(folder))
            folders << folder;
    }
    const auto key = [&folders](const Run &r) {
        return folders.indexOf(QFileInfo(r.arguments.value(r.arguments.size() - 1)).path());
    };
    std::stable_sort(logged.begin(), logged.end(), [&](const Run &a, const Run &b) {
        if (key(a) != key(b))
            return key(a) < key(b);
        return namedBefore(QFileInfo(a.arguments.value(a.arguments.size() - 1)).fileName(),
                           QFileInfo(b.arguments.value(b.arguments.size() - 1)).fileName());
    });
    return logged;
}

QList<QStringList> StandInTool::runs() const
{
    QList<QStringList> result;
    for (const Run &run : orderedRuns())
        result.append(run.arguments);
    return result;
}

QString StandInTool::htmlOfRun(int run) const
{
    const QList<Run> ordered = orderedRuns();
    if (run < 1 || run > ordered.size())
        return QString();
    QFile file(QString("%1/html_%2.html").arg(m_folder).arg(ordered.at(run - 1).number));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList StandInTool::htmlGiven() const
{
    QStringList pages;
    const QList<Run> ordered = orderedRuns();
    for (const Run &run : ordered) {
        QFile file(QString("%1/html_%2.html").arg(m_folder).arg(run.number));
        pages << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    }
    return pages;
}
