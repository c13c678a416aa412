#pragma once
// A shell script standing in for wkhtmltoimage in the application folder (it
// is found before an installed tool). Every run but "--version" logs its
// arguments, keeps a copy of the HTML it was given and then runs `body`, in
// which $dir is the application folder and $html and $img are the last two
// arguments. The default body copies the source picture (a small white page
// until setSource) to the image.
//
// The renderer runs the tool several times at once: the runs are given in
// the order of the renders (each works in a folder of its own), and within
// one render in the order of their pictures' names (page 0, 1, ...; part 1,
// 2, ...), however they happened to start.

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class StandInTool
{
public:
    static const QString unpatchedVersion;
    static const QString patchedVersion;
    static const QString copySource;

    explicit StandInTool(const QString &appFolder, const QString &body = copySource,
                         const QString &version = unpatchedVersion);

    // A white picture `name`.png in the application folder; "source" is the
    // one the default body hands back.
    void setSource(const QSize &size, const QString &name = QStringLiteral("source")) const;

    // The arguments of each run, in order.
    QList<QStringList> runs() const;
    // The HTML of run `run` (from 1), and of every run in order.
    QString htmlOfRun(int run) const;
    QStringList htmlGiven() const;

private:
    struct Run
    {
        int number = 0; // in the order the runs logged themselves
        QStringList arguments;
    };
    QList<Run> orderedRuns() const;

    QString m_folder;
};
