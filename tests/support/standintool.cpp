#include "standintool.h"

#include "output/rendertool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <algorithm>

const QString StandInTool::unpatchedVersion = QStringLiteral("wkhtmltoimage 0.12.6");
const QString StandInTool::patchedVersion = QStringLiteral("wkhtmltoimage 0.12.6 (with patched qt)");
const QString StandInTool::copySource = QStringLiteral("cp \"$dir/source.png\" \"$img\"");

StandInTool::StandInTool(const QString &appFolder, const QString &body, const QString &version)
    : m_folder(appFolder)
{
    QDir(m_folder).rmdir("standin.lock");
    for (const QString &name : QDir(m_folder).entryList({"args.log", "runs.count", "html_*.html"}))
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

void StandInTool::setSource(const QSize &size, const QString &name) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!image.save(m_folder + "/" + name + ".png"))
        qFatal("cannot write a picture for the stand-in tool");
}

namespace {

// Names compared with their numbers as numbers: page_2 before page_10.
bool namedBefore(const QString &a, const QString &b)
{
    static const QRegularExpression number("\\d+");
    const auto key = [](const QString &name) {
        QString padded = name;
        for (auto m = number.globalMatch(name); m.hasNext();) {
            const QRegularExpressionMatch found = m.next();
            padded.replace(found.capturedStart() + padded.size() - name.size(), found.capturedLength(),
                           found.captured().rightJustified(20, '0'));
        }
        return padded;
    };
    return key(a) < key(b);
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
    const auto image = [](const Run &r) { return QFileInfo(r.arguments.value(r.arguments.size() - 1)); };
    QStringList folders;
    for (const Run &r : std::as_const(logged))
        if (!folders.contains(image(r).path()))
            folders << image(r).path();
    std::stable_sort(logged.begin(), logged.end(), [&](const Run &a, const Run &b) {
        const int fa = folders.indexOf(image(a).path()), fb = folders.indexOf(image(b).path());
        return fa != fb ? fa < fb : namedBefore(image(a).fileName(), image(b).fileName());
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
    return htmlGiven().value(run - 1);
}

QStringList StandInTool::htmlGiven() const
{
    QStringList pages;
    for (const Run &run : orderedRuns()) {
        QFile file(QString("%1/html_%2.html").arg(m_folder).arg(run.number));
        pages << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    }
    return pages;
}
