#include "printtools.h"

#include "output/documentparts.h"
#include "output/pagecutter.h"
#include "output/rendertool.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstring>

QList<QSize> pdfPictureSizes(const QString &pdfPath)
{
    QProcess list;
    list.start("pdfimages", {"-list", pdfPath});
    list.waitForFinished(60000);
    QList<QSize> sizes;
    // "page num type width height ..." after two heading lines.
    const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).simplified().split(' ');
        if (fields.size() > 4)
            sizes.append(QSize(fields.at(3).toInt(), fields.at(4).toInt()));
    }
    return sizes;
}

QList<QImage> pdfPictures(const QString &pdfPath, const QString &folder, int page)
{
    QList<QImage> pictures;
    QTemporaryDir out(folder + "/pictures_XXXXXX");
    QStringList arguments{pdfPath, out.path() + "/p"};
    if (page > 0)
        arguments = QStringList{"-f", QString::number(page), "-l", QString::number(page)} + arguments;
    if (QProcess::execute("pdfimages", arguments) != 0)
        return pictures;
    for (const QString &name : QDir(out.path()).entryList(QDir::Files, QDir::Name)) {
        QImage picture(out.path() + "/" + name);
        pictures.append(picture.convertToFormat(QImage::Format_RGB32));
        QFile::remove(out.path() + "/" + name);
    }
    return pictures;
}

double installedToolCssZoom(const QStringList &extra)
{
    const QString tool = QStandardPaths::findExecutable("wkhtmltoimage");
    const double zoom = RenderPlatform::requestedZoom(extra);
    return zoom != 1.0 && !tool.isEmpty() && !RenderPlatform::toolHonoursZoom(tool) ? zoom : 1.0;
}

QImage toolPicture(const QString &html, const QStringList &extra, const QString &folder, bool prepared)
{
    const QString tool = QStandardPaths::findExecutable("wkhtmltoimage");
    if (tool.isEmpty())
        return QImage();
    QTemporaryDir scratch(folder + "/tool_XXXXXX");
    QFile file(scratch.path() + "/page.html");
    if (!file.open(QIODevice::WriteOnly))
        return QImage();
    file.write((prepared ? html : RenderPlatform::prepareHtml(html, installedToolCssZoom(extra))).toUtf8());
    file.close();
    const QString image = scratch.path() + "/page.png";
    QProcess run;
    run.start(tool, RenderPlatform::toolArguments(extra, file.fileName(), image));
    if (!run.waitForFinished(300000) || run.exitCode() != 0)
        return QImage();
    return RenderPlatform::loadPicture(image);
}

QImage toolPartsPicture(const QString &html, const QList<int> &starts, const QStringList &extra, const QString &folder)
{
    const DocumentParts document(RenderPlatform::prepareHtml(html, installedToolCssZoom(extra)));
    QList<QImage> pictures;
    for (int i = 0; i < starts.size(); ++i) {
        const int end = starts.value(i + 1, document.groups());
        const QImage picture = toolPicture(document.part(starts.at(i), end), extra, folder, true);
        if (picture.isNull())
            return QImage();
        pictures.append(end < document.groups() ? picture.copy(0, 0, picture.width(), PageCutting::joinedHeight(picture))
                                                : picture);
    }
    return stacked(pictures);
}

QImage stacked(const QList<QImage> &pictures)
{
    int height = 0;
    for (const QImage &picture : pictures)
        height += picture.height();
    QImage whole(pictures.value(0).width(), height, QImage::Format_RGB32);
    int y = 0;
    for (const QImage &picture : pictures)
        for (int r = 0; r < picture.height(); ++r, ++y)
            std::memcpy(whole.scanLine(y), picture.constScanLine(r), size_t(whole.width()) * 4);
    return whole;
}
