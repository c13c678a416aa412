#include "renderjob.h"

#include "documentparts.h"
#include "pagecutter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace RenderPlatform;

struct RenderJob::Segment
{
    enum class State { Waiting, Running, Rendered, Decoding, Decoded, Done };

    int first = 0; // the first group of a part, or the page
    int end = 1;
    int band = 0;
    int name = 0;  // the number in the part's file names
    QString html;
    qint64 htmlBytes = 0;
    QString image;
    State state = State::Waiting;
    std::unique_ptr<QProcess> process;
    std::unique_ptr<QTimer> timer;
    int limitMs = 0;
    bool goesOn = false; // the next band of the same part follows
    bool joins = false;  // the next part's picture follows
    QImage picture;
};

namespace {

// Groups a part holds at most (the tool lays out and draws a part of a long
// statement in a second or two), and at least where there are enough.
constexpr int kMostGroups = 120;
constexpr int kFewestGroups = 16;
// Parts read ahead of the cutting: each picture some tens of megabytes.
constexpr size_t kPartsReadAhead = 2;

// Parts for `groups` groups: as many as the runs at a time, or a multiple,
// so that they end together.
int partCount(int groups, int parallel)
{
    if (groups <= kFewestGroups)
        return 1;
    const int rounds = (groups + parallel * kMostGroups - 1) / (parallel * kMostGroups);
    return qMin((groups + kFewestGroups - 1) / kFewestGroups, parallel * rounds);
}

bool passes(const ToolRun &run, const QString &imagePath, RenderSuccess success)
{
    switch (success) {
    case RenderSuccess::ImageExists:
        return run.finished && QFileInfo::exists(imagePath);
    case RenderSuccess::ExitCodeZeroAndImage:
        return run.exitedCleanly() && QFileInfo::exists(imagePath);
    case RenderSuccess::FinishedWithExitCodeZero:
        return run.exitedCleanly();
    }
    return false;
}

RenderFailure failureOf(const ToolRun &run, int timeLimitMs)
{
    RenderFailure failure;
    failure.reason = runFailureReason(run, timeLimitMs);
    // Only a tool that ended by itself said why.
    if (run.started && run.finished && !run.stoppedBySignal)
        failure.errorText = toolErrorText(run.errorOutput);
    return failure;
}

RenderFailure tooLong(int pageLimit, int pages)
{
    RenderFailure failure;
    failure.reason = QStringLiteral("The document needs more than %1 pages.").arg(pageLimit);
    failure.tooLongPages = qMax(pages, pageLimit + 1);
    return failure;
}

const QString kPartFormat = QStringLiteral("ppm");

} // namespace

RenderJob::RenderJob(const PageRenderProfile &profile, const QString &tool, const QString &folder, const QSize &page)
    : m_profile(profile)
    , m_tool(tool)
    , m_folder(folder)
    , m_page(page)
    , m_parallel(parallelRuns())
    , m_width(requestedWidth(profile.toolArguments))
{
    m_pool.setMaxThreadCount(m_parallel);
}

RenderJob::~RenderJob()
{
    stopRuns();
}

bool RenderJob::write(const QStringList &pagesHtml, double cssZoom)
{
    if (m_profile.paint == RenderPaint::PerPage) {
        if (pagesHtml.size() > m_profile.pageLimit) {
            m_failure = tooLong(m_profile.pageLimit, int(pagesHtml.size()));
            return false;
        }
        for (int i = 0; i < pagesHtml.size(); ++i) {
            if (*m_stop)
                return false;
            auto segment = std::make_shared<Segment>();
            segment->first = i;
            segment->end = i + 1;
            segment->image = m_folder + QLatin1Char('/') + m_profile.imageName.arg(i);
            m_failure = writeHtml(m_profile.htmlName, prepareHtml(pagesHtml.at(i), cssZoom), *segment);
            if (m_failure)
                return false;
            m_segments.push_back(segment);
        }
        m_pages->resize(int(pagesHtml.size()));
        return true;
    }

    const QString prepared = prepareHtml(pagesHtml.value(0), cssZoom);
    m_documentBytes = prepared.toUtf8().size();
    m_document = std::make_unique<DocumentParts>(prepared);
    m_groups = m_document->groups();
    const int parts = partCount(m_groups, m_parallel);
    const int each = (m_groups + parts - 1) / parts;
    // How tall the rows are drawn, and so what a part's picture takes, is
    // known from the first part drawn, which is drawn alone: a short one.
    int first = 0;
    const auto add = [this, &first](int end) {
        if (*m_stop)
            return false;
        SegmentPtr segment = partSegment(first, end);
        if (!segment)
            return false;
        m_segments.push_back(segment);
        first = end;
        return true;
    };
    if (parts > 1 && !add(qMin(kFewestGroups, each)))
        return false;
    while (first < m_groups) {
        if (!add(qMin(m_groups, first + each)))
            return false;
    }
    m_cutter = std::make_unique<PageCutter>(m_page);
    return true;
}

QString RenderJob::partName(const QString &name, int part, int band, const QString &format) const
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    QString base = dot < 0 ? name : name.left(dot);
    const QString extension = !format.isEmpty() ? QLatin1Char('.') + format : dot < 0 ? QString() : name.mid(dot);
    const QString pattern = QStringLiteral("XXXXXX");
    const bool templated = base.endsWith(pattern);
    if (templated)
        base.chop(pattern.size());
    if (templated && base.endsWith(QLatin1Char('_')))
        base.chop(1);
    QString suffix = QStringLiteral("_part%1").arg(part);
    if (band > 0)
        suffix += QStringLiteral("_band%1").arg(band);
    return base + suffix + (templated ? QStringLiteral("_") + pattern : QString()) + extension;
}

RenderJob::SegmentPtr RenderJob::partSegment(int first, int end)
{
    auto segment = std::make_shared<Segment>();
    segment->first = first;
    segment->end = end;
    segment->joins = end < m_groups;
    const bool whole = first == 0 && end == m_groups;
    segment->name = whole ? 0 : ++m_partsNamed;
    const QString htmlName = whole ? m_profile.htmlName : partName(m_profile.htmlName, segment->name);
    // A part's picture is a step on the way, never the document's: written
    // without compression, the tool draws it in half the time and it is read
    // in a third.
    segment->image = m_folder + QLatin1Char('/')
                     + (whole ? m_profile.imageName : partName(m_profile.imageName, segment->name, 0, kPartFormat));
    m_failure = writeHtml(htmlName, m_document->part(first, end), *segment);
    return m_failure ? nullptr : segment;
}

std::optional<RenderFailure> RenderJob::writeHtml(const QString &name, const QString &html, Segment &segment)
{
    QString path = m_folder + QLatin1Char('/') + name;
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
    if (m_profile.htmlFile == RenderHtmlFile::Temporary) {
        QTemporaryFile named(path);
        named.setAutoRemove(false); // it goes with the render's folder
        if (!named.open())
            return RenderFailure{QString(), QString(), true};
        path = named.fileName();
    } else {
        mode |= QIODevice::Text;
    }
    QFile file(path);
    if (!file.open(mode))
        return RenderFailure{QString(), QString(), true};
    // A document cut short (a full disk) would be drawn cut short. A write
    // cut short is tried again for the rest, which then fails with the
    // system's reason.
    const QByteArray bytes = html.toUtf8();
    bool whole = true;
    for (qint64 written = 0; whole && written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        whole = n > 0;
        written += qMax<qint64>(n, 0);
    }
    const QString error = file.errorString();
    file.close();
    if (!whole || file.error() != QFileDevice::NoError)
        return RenderFailure{QString(),
                             QStringLiteral("The document could not be written whole to %1: %2")
                                 .arg(QDir::toNativeSeparators(path), whole ? file.errorString() : error),
                             true};
    segment.html = path;
    segment.htmlBytes = bytes.size();
    return std::nullopt;
}

void RenderJob::requestStop()
{
    *m_stop = true;
}

void RenderJob::start()
{
    if (m_segments.empty()) {
        finish();
        return;
    }
    startRuns();
}

void RenderJob::startRuns()
{
    if (m_failure || m_cancelled)
        return;
    // Runs at a time, one for each core; and pictures drawn, not yet read,
    // lie in the folder at some tens of megabytes each: no more runs while as
    // many wait.
    int running = 0;
    int unread = 0;
    for (const SegmentPtr &segment : m_segments) {
        running += segment->state == Segment::State::Running ? 1 : 0;
        unread += segment->state == Segment::State::Rendered ? 1 : 0;
    }
    // A part the cutting waits for (a half of a part drawn again) runs anyway.
    bool awaited = false;
    for (size_t i = m_nextToCut; m_profile.paint == RenderPaint::Cut && i < m_segments.size()
                                 && i < m_nextToCut + kPartsReadAhead;
         ++i)
        awaited = awaited || m_segments[i]->state == Segment::State::Waiting;
    if (unread >= m_parallel && !awaited)
        return;
    // The pictures drawn at once stay within the preview's memory budget.
    qint64 bytes = 0;
    for (const SegmentPtr &segment : m_segments)
        bytes = qMax(bytes, segment->state == Segment::State::Running ? runBytes(*segment) : 0);
    for (size_t i = 0; i < m_segments.size(); ++i) {
        if (m_segments[i]->state != Segment::State::Waiting)
            continue;
        bytes = qMax(bytes, runBytes(*m_segments[i]));
        if (running >= runsWithin(PagePictures::previewBudgetBytes, bytes, m_parallel))
            break;
        launch(m_segments[i]);
        ++running;
    }
}

qint64 RenderJob::runBytes(const Segment &segment) const
{
    int rows = bandRows + 1; // the most a run draws
    if (m_profile.paint == RenderPaint::PerPage) {
        // A page's picture: as tall as its printed page, or the tallest yet.
        rows = qMax(m_tallestPage, m_page.isEmpty() ? 0 : int(qint64(m_width) * m_page.height() / m_page.width()));
    } else if (const double perGroup = m_mostRowsPerGroup > 0 ? m_mostRowsPerGroup : m_firstRowsPerGroup;
               segment.band == 0 && perGroup > 0) {
        rows = int(qMin(double(rows), std::ceil(perGroup * (segment.end - segment.first))));
    }
    return pictureBytes(m_width, rows);
}

void RenderJob::measurePart(const Segment &segment, int groups)
{
    const QSize size = pictureSize(segment.image);
    if (size.isEmpty())
        return;
    m_width = qMax(m_width, size.width());
    if (m_profile.paint == RenderPaint::PerPage) {
        m_tallestPage = qMax(m_tallestPage, size.height());
        return;
    }
    if (m_pageRows == 0)
        m_pageRows = PageCutting::pageRows(size.width(), m_page);
    if (segment.goesOn || segment.band > 0 || groups <= 0)
        return; // drawn in bands: not known whole
    const double perGroup = double(size.height()) / groups;
    // The first part holds the document's head as well: the others tell the
    // rows alone once there are some.
    if (segment.first == 0)
        m_firstRowsPerGroup = perGroup;
    else
        m_mostRowsPerGroup = qMax(m_mostRowsPerGroup, perGroup);
    m_measuredRows += size.height();
    m_measuredGroups += groups;
    // The rows alone are in a part between the head and the foot.
    if (segment.first == 0 || segment.end == m_groups || m_pageRows <= 0)
        return;
    m_fewestRowsPerGroup = m_fewestRowsPerGroup > 0 ? qMin(m_fewestRowsPerGroup, perGroup) : perGroup;
    // Every group not yet drawn at least as tall as the shortest of a part
    // of rows alone so far; a page holds at most a page of rows.
    const double rows = double(m_measuredRows) + m_fewestRowsPerGroup * (m_groups - m_measuredGroups);
    const double least = std::ceil(rows / m_pageRows);
    if (least > m_profile.pageLimit) {
        const double likely = (m_measuredRows + double(m_measuredRows) / m_measuredGroups * (m_groups - m_measuredGroups))
                              / m_pageRows;
        fail(tooLong(m_profile.pageLimit, int(qMin(1e9, std::ceil(likely)))));
    }
}

void RenderJob::launch(const SegmentPtr &segment)
{
    QFile::remove(segment->image);
    segment->state = Segment::State::Running;
    // A part is given the time of the whole document it is part of: the runs
    // share the machine's cores.
    segment->limitMs = qMax(1, timeLimitFor(m_profile.timeLimitMs, m_document ? m_documentBytes : segment->htmlBytes));
    QStringList extra = m_profile.toolArguments;
    if (m_profile.paint == RenderPaint::Cut)
        extra += bandArguments(segment->band);

    segment->process = std::make_unique<QProcess>();
    segment->timer = std::make_unique<QTimer>();
    segment->timer->setSingleShot(true);
    const std::weak_ptr<Segment> weak = segment;
    connect(segment->process.get(), &QProcess::finished, this, [this, weak] {
        if (const SegmentPtr s = weak.lock())
            runEnded(s, true);
    });
    connect(segment->process.get(), &QProcess::errorOccurred, this, [this, weak](QProcess::ProcessError error) {
        if (const SegmentPtr s = weak.lock(); s && error == QProcess::FailedToStart)
            runEnded(s, true);
    });
    connect(segment->timer.get(), &QTimer::timeout, this, [this, weak] {
        if (const SegmentPtr s = weak.lock())
            runEnded(s, false);
    });
    segment->timer->start(segment->limitMs);
    segment->process->start(m_tool, toolArguments(extra, segment->html, segment->image), QIODevice::ReadWrite);
}

void RenderJob::runEnded(const SegmentPtr &segment, bool inTime)
{
    if (segment->state != Segment::State::Running || !segment->process)
        return;
    QProcess *process = segment->process.release();
    segment->timer->stop();
    segment->timer.release()->deleteLater();
    process->disconnect(this);
    const ToolRun run = toolRunOf(*process, inTime);
    if (process->state() != QProcess::NotRunning) {
        process->kill(); // past its limit
        process->waitForFinished(3000);
    }
    process->deleteLater();
    if (m_failure || m_cancelled)
        return;
    if (!passes(run, segment->image, m_profile.success)) {
        fail(failureOf(run, segment->limitMs));
        return;
    }
    segment->state = Segment::State::Rendered;
    if (m_profile.paint == RenderPaint::Cut && goesOn(segment))
        return startRuns(); // drawn again in halves
    measurePart(*segment, segment->end - segment->first);
    if (m_failure)
        return;
    // The tool has read its page: the next band of a part reads it again.
    if (!segment->goesOn)
        QFile::remove(segment->html);
    startRuns();
    startDecoding();
}

// A part whose picture goes on past the rows one run draws: halved and drawn
// again while it holds two groups or more, else drawn on in the next band.
// True when the part was halved.
bool RenderJob::goesOn(const SegmentPtr &segment)
{
    if (pictureSize(segment->image).height() <= bandRows)
        return false;
    const auto at = std::find(m_segments.begin(), m_segments.end(), segment);
    if (segment->band == 0 && segment->end - segment->first >= 2) {
        const int middle = (segment->first + segment->end) / 2;
        const SegmentPtr upper = partSegment(segment->first, middle);
        const SegmentPtr lower = upper ? partSegment(middle, segment->end) : nullptr;
        if (!lower) {
            fail(*m_failure);
            return true;
        }
        // Rows as tall as this part's at least: the runs of its halves are
        // held to what they take.
        const double perGroup = double(bandRows) / (segment->end - segment->first);
        m_mostRowsPerGroup = qMax(m_mostRowsPerGroup, perGroup);
        QFile::remove(segment->image);
        QFile::remove(segment->html);
        segment->state = Segment::State::Done;
        const auto place = m_segments.erase(at);
        m_segments.insert(place, {upper, lower});
        return true;
    }
    auto next = std::make_shared<Segment>();
    next->first = segment->first;
    next->end = segment->end;
    next->band = segment->band + 1;
    next->name = segment->name;
    next->html = segment->html;
    next->htmlBytes = segment->htmlBytes;
    next->image = m_folder + QLatin1Char('/') + partName(m_profile.imageName, segment->name, next->band, kPartFormat);
    next->joins = segment->joins;
    segment->joins = false;
    segment->goesOn = true;
    m_segments.insert(at + 1, next);
    return false;
}

void RenderJob::startDecoding()
{
    if (m_failure || m_cancelled)
        return;
    // Pictures read and waiting to be cut: those of the next parts to cut (a
    // page's picture is kept as soon as it is read).
    const size_t most = kPartsReadAhead;
    const bool cut = m_profile.paint == RenderPaint::Cut;
    const size_t from = cut ? m_nextToCut : 0;
    const size_t to = cut ? qMin(m_segments.size(), from + most) : m_segments.size();
    int busy = 0;
    for (size_t i = from; i < m_segments.size(); ++i)
        busy += m_segments[i]->state == Segment::State::Decoding ? 1 : 0;
    for (size_t i = from; i < to && (cut || busy < int(most)); ++i) {
        const SegmentPtr segment = m_segments[i];
        if (segment->state != Segment::State::Rendered)
            continue;
        segment->state = Segment::State::Decoding;
        ++busy;
        const bool crop = cut && segment->goesOn;
        const bool join = cut && segment->joins;
        m_pool.start([this, segment, crop, join, keep = m_profile.keepPicturesIn, stop = m_stop] {
            QImage picture;
            if (!*stop) {
                if (!keep.isEmpty()) {
                    const QString copy = keep + QLatin1Char('/') + QFileInfo(segment->image).fileName();
                    QFile::remove(copy);
                    QFile::copy(segment->image, copy);
                }
                picture = loadPicture(segment->image);
                QFile::remove(segment->image);
                if (crop)
                    picture = picture.copy(0, 0, picture.width(), qMin(picture.height(), bandRows));
                else if (join && !picture.isNull())
                    picture = picture.copy(0, 0, picture.width(), PageCutting::joinedHeight(picture));
            }
            QMetaObject::invokeMethod(this, [this, segment, picture] { decoded(segment, picture); },
                                      Qt::QueuedConnection);
        });
    }
}

void RenderJob::decoded(const SegmentPtr &segment, const QImage &picture)
{
    if (m_failure || m_cancelled)
        return;
    if (picture.isNull()) {
        fail({QString(), noPictureReason()});
        return;
    }
    if (m_profile.paint == RenderPaint::PerPage) {
        segment->state = Segment::State::Done;
        keepPage(segment->first, picture);
    } else {
        segment->state = Segment::State::Decoded;
        segment->picture = picture;
        cutNext();
    }
    startDecoding();
    startRuns();
}

void RenderJob::cutNext()
{
    if (m_cutting || m_failure || m_cancelled || m_nextToCut >= m_segments.size())
        return;
    // Pages cut and not yet kept hold their part's picture: the cutting waits
    // for the keeping.
    if (m_keeping >= m_parallel)
        return;
    const SegmentPtr segment = m_segments[m_nextToCut];
    if (segment->state != Segment::State::Decoded)
        return;
    segment->state = Segment::State::Done;
    ++m_nextToCut;
    const QImage piece = segment->picture;
    segment->picture = QImage();
    const bool last = m_nextToCut == m_segments.size();
    const int groups = segment->goesOn ? 0 : segment->end - segment->first;
    m_cutting = true;
    m_pool.start([this, cutter = m_cutter.get(), piece, last, groups, stop = m_stop] {
        QList<QImage> pages;
        if (!*stop) {
            cutter->add(piece);
            if (last)
                cutter->finish();
            pages = cutter->takePages();
        }
        QMetaObject::invokeMethod(
            this, [this, pages, rows = piece.height(), groups] { cutDone(pages, rows, groups); },
            Qt::QueuedConnection);
    });
}

void RenderJob::cutDone(const QList<QImage> &pages, int rows, int groups)
{
    m_cutting = false;
    if (m_failure || m_cancelled)
        return;
    m_rowsCut += rows;
    m_groupsCut += groups;
    for (const QImage &page : pages) {
        if (m_pagesCut >= m_profile.pageLimit) {
            fail(tooLong(m_profile.pageLimit, pagesExpected()));
            return;
        }
        keepPage(m_pagesCut++, page);
    }
    emit progressed();
    cutNext();
    startDecoding();
    checkDone();
}

void RenderJob::keepPage(int index, const QImage &picture)
{
    ++m_keeping;
    const double scale = PagePictures::previewScaleFor(qint64(pagesExpected()) * picture.width() * picture.height() * 4);
    m_pool.start([this, index, picture, scale, stop = m_stop] {
        PagePictures::Page page;
        if (!*stop)
            page = PagePictures::keep(picture, scale);
        QMetaObject::invokeMethod(this, [this, index, page] { pageKept(index, page); }, Qt::QueuedConnection);
    });
}

void RenderJob::pageKept(int index, const PagePictures::Page &page)
{
    --m_keeping;
    if (m_failure || m_cancelled)
        return;
    m_pages->set(index, page);
    ++m_pagesKept;
    emit progressed();
    if (m_profile.paint == RenderPaint::Cut)
        cutNext();
    checkDone();
}

int RenderJob::pageCount() const
{
    if (m_profile.paint == RenderPaint::PerPage)
        return int(m_segments.size());
    return m_finished && !m_failure && !m_cancelled ? m_pagesCut : 0;
}

double RenderJob::drawnShare() const
{
    if (m_profile.paint == RenderPaint::PerPage)
        return m_segments.empty() ? 0.0 : double(m_pagesKept) / double(m_segments.size());
    return m_groups > 0 ? double(m_groupsCut) / m_groups : 0.0;
}

int RenderJob::pagesExpected() const
{
    if (m_profile.paint == RenderPaint::PerPage)
        return int(m_segments.size());
    const int rows = m_pageRows;
    if (m_groupsCut > 0 && rows > 0) {
        const double rowsPerGroup = double(m_rowsCut) / m_groupsCut;
        const double expected = (m_rowsCut + rowsPerGroup * (m_groups - m_groupsCut)) / rows;
        return qMax(m_pagesCut + (m_nextToCut < m_segments.size() ? 1 : 0), int(std::ceil(expected)));
    }
    return qMax(m_pagesCut + 1, int(m_segments.size()));
}

void RenderJob::checkDone()
{
    if (m_finished || m_failure || m_cancelled || m_keeping > 0 || m_cutting)
        return;
    for (const SegmentPtr &segment : m_segments)
        if (segment->state != Segment::State::Done)
            return;
    if (m_profile.paint == RenderPaint::Cut)
        m_pages->resize(m_pagesCut);
    // More pages than expected: the preview's copies made smaller.
    m_pages->fitPreviewBudget(m_parallel);
    finish();
}

void RenderJob::fail(const RenderFailure &failure)
{
    if (m_finished)
        return;
    m_failure = failure;
    stopRuns();
    finish();
}

void RenderJob::cancel()
{
    if (m_finished)
        return;
    m_cancelled = true;
    stopRuns();
    finish();
}

void RenderJob::stopRuns()
{
    *m_stop = true;
    for (const SegmentPtr &segment : m_segments) {
        if (!segment->process)
            continue;
        segment->process->disconnect(this);
        segment->timer->disconnect(this);
        segment->process->kill();
        segment->process->waitForFinished(3000);
        segment->process.reset();
        segment->timer.reset();
    }
}

void RenderJob::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    emit finished();
}
