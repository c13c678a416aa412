#pragma once
// One render of a document, driven by the event loop: its HTML files in the
// render's folder, the tool's runs (one for each core at a time, and no more
// than the pictures they draw fit in the preview's memory budget; each ended
// at its time limit), and their pictures read, joined and cut into pages on
// other threads, one part after the other. Each file goes as soon as it has
// been read. Ends with the pages, a failure and its reason, or nothing when
// cancelled.

#include "pagerenderer.h"

#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class DocumentParts;

// Why a document could not be drawn: the tool's error text, else a reason of
// our own.
struct RenderFailure
{
    QString errorText;
    QString reason;
    bool htmlNotWritten = false; // an HTML file could not be written (whole)
    int tooLongPages = 0;        // the document needs more pages than allowed: about so many
};

class RenderJob : public QObject
{
    Q_OBJECT

public:
    // The tool at `tool`, the files in `folder`, pages of `page` device pixels.
    RenderJob(const PageRenderProfile &profile, const QString &tool, const QString &folder, const QSize &page);
    ~RenderJob() override;

    // Writes the HTML files: one per page, or the parts of the one document
    // (RenderPaint::Cut). False, with the failure, when one cannot be written
    // whole or the document has more pages than the profile allows; false
    // without one when stopped. May run on another thread, before start().
    bool write(const QStringList &pagesHtml, double cssZoom);
    // Has write() end early; from any thread.
    void requestStop();

    void start();
    // Ends every run and every picture's work; finished() follows.
    void cancel();

    bool isFinished() const { return m_finished; }
    bool wasCancelled() const { return m_cancelled; }
    const std::optional<RenderFailure> &failure() const { return m_failure; }
    std::shared_ptr<PagePictures> pages() const { return m_pages; }

    int pagesDone() const { return m_pagesKept; }
    // The pages the preview will have; 0 while that is not known (a document
    // cut into pages: until its last rows are cut).
    int pageCount() const;
    // How much of the document is drawn, from 0 to 1.
    double drawnShare() const;

signals:
    void progressed();
    void finished();

private:
    struct Segment;
    using SegmentPtr = std::shared_ptr<Segment>;

    std::optional<RenderFailure> writeHtml(const QString &name, const QString &html, Segment &segment);
    SegmentPtr partSegment(int first, int end);
    // `name` with the part's number and band in it, and the extension
    // `format` when given.
    QString partName(const QString &name, int part, int band = 0, const QString &format = QString()) const;

    void startRuns();
    void launch(const SegmentPtr &segment);
    void runEnded(const SegmentPtr &segment, bool inTime);
    bool goesOn(const SegmentPtr &segment);
    void startDecoding();
    void decoded(const SegmentPtr &segment, const QImage &picture);
    void cutNext();
    void cutDone(const QList<QImage> &pages, int rows, int groups);
    void keepPage(int index, const QImage &picture);
    void pageKept(int index, const PagePictures::Page &page);
    void checkDone();
    // The pages a document cut into pages needs at least, from the parts
    // drawn so far: a refusal as soon as that passes the limit.
    void measurePart(const Segment &segment, int groups);
    // What the next run's picture is expected to take.
    qint64 runBytes(const Segment &segment) const;
    int pagesExpected() const;
    void fail(const RenderFailure &failure);
    void stopRuns();
    void finish();

    PageRenderProfile m_profile;
    QString m_tool;
    QString m_folder;
    QSize m_page;
    int m_parallel = 1;
    std::unique_ptr<DocumentParts> m_document;
    qint64 m_documentBytes = 0;
    std::vector<SegmentPtr> m_segments; // in the order of the document
    size_t m_nextToCut = 0;
    int m_partsNamed = 0;
    int m_groups = 1;

    // What the pictures drawn so far tell, for the memory of the next runs
    // and the pages the document needs.
    int m_width = 1024;        // of the pictures
    int m_pageRows = 0;        // rows of a picture that fill a page
    int m_tallestPage = 0;     // rows of the tallest page picture (per-page)
    qint64 m_measuredRows = 0; // of the parts drawn whole
    int m_measuredGroups = 0;
    double m_fewestRowsPerGroup = 0;
    double m_firstRowsPerGroup = 0; // with the document's head
    double m_mostRowsPerGroup = 0;  // of the other parts

    std::unique_ptr<class PageCutter> m_cutter;
    bool m_cutting = false;
    int m_rowsCut = 0;
    int m_groupsCut = 0;
    int m_pagesCut = 0;
    int m_pagesKept = 0;
    int m_keeping = 0;

    std::shared_ptr<PagePictures> m_pages = std::make_shared<PagePictures>();
    std::optional<RenderFailure> m_failure;
    bool m_cancelled = false;
    bool m_finished = false;
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    QThreadPool m_pool; // last: ended first, before what its work uses
};
