#include "standintool.h"

#include "output/pagerenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>

const QString StandInTool::unpatchedVersion = QStringLiteral("wkhtmltoimage 0.12.6");
const QString StandInTool::patchedVersion = QStringLiteral("wkhtmltoimage 0.12.6 (with patched qt)");
const QString StandInTool::copySource = QStringLiteral("cp \"$dir/source.png\" \"$img\"");

StandInTool::StandInTool(const QString &appFolder, const QString &body, const QString &version)
    : m_folder(appFolder)
{
    QFile::remove(m_folder + "/args.log");
    for (const QString &name : QDir(m_folder).entryList({"html_*.html"}))
        QFile::remove(m_folder + "/" + name);
    setSource(QSize(248, 351));
    const QString script = QString("#!/bin/sh\n"
                                   "dir=\"$(dirname \"$0\")\"\n"
                                   "if [ \"$1\" = \"--version\" ]; then echo \"%1\"; exit 0; fi\n"
                                   "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$dir/args.log\"; done\n"
                                   "echo ---- >> \"$dir/args.log\"\n"
                                   "html=\"\"; img=\"\"\n"
                                   "for a in \"$@\"; do html=\"$img\"; img=\"$a\"; done\n"
                                   "n=$(grep -c -- '^----$' \"$dir/args.log\")\n"
                                   "cp \"$html\" \"$dir/html_$n.html\"\n")
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

QList<QStringList> StandInTool::runs() const
{
    QFile file(m_folder + "/args.log");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> result{QStringList()};
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line == "----")
            result.append(QStringList());
        else if (!line.isEmpty())
            result.last().append(line);
    }
    result.removeLast();
    return result;
}

QString StandInTool::htmlOfRun(int run) const
{
    QFile file(QString("%1/html_%2.html").arg(m_folder).arg(run));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList StandInTool::htmlGiven() const
{
    QStringList pages;
    for (int run = 1; run <= runs().size(); ++run)
        pages << htmlOfRun(run);
    return pages;
}
