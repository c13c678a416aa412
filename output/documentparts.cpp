#include "documentparts.h"

#include <QHash>
#include <QRegularExpression>

namespace {

bool isVoid(const QString &name)
{
    static const QStringList names{"area", "base", "br", "col", "embed", "hr", "img", "input",
                                   "link", "meta", "param", "source", "track", "wbr"};
    return names.contains(name);
}

bool isRawText(const QString &name)
{
    return name == QLatin1String("script") || name == QLatin1String("style") || name == QLatin1String("textarea")
           || name == QLatin1String("title");
}

bool isSection(const QString &name)
{
    return name == QLatin1String("tbody") || name == QLatin1String("thead") || name == QLatin1String("tfoot");
}

bool isCell(const QString &name)
{
    return name == QLatin1String("td") || name == QLatin1String("th");
}

// A cell's rowspan or colspan; 1 when it has none.
int spanOf(const QString &attributes, bool rows)
{
    static const QRegularExpression rowSpan(QStringLiteral("\\browspan\\s*=\\s*['\"]?\\s*(\\d+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression colSpan(QStringLiteral("\\bcolspan\\s*=\\s*['\"]?\\s*(\\d+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!attributes.contains(QLatin1String("span"), Qt::CaseInsensitive))
        return 1;
    const QRegularExpressionMatch match = (rows ? rowSpan : colSpan).match(attributes);
    return match.hasMatch() ? qBound(1, match.captured(1).toInt(), 10000) : 1;
}

// A cell's width from its style ("width: 15%") or its width attribute.
QString widthOf(const QString &attributes)
{
    static const QRegularExpression styled(
        QStringLiteral("(?:^|[;\\s'\"])width\\s*:\\s*([0-9.]+\\s*(?:%|px|pt|mm|cm|em)?)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attribute(QStringLiteral("\\swidth\\s*=\\s*['\"]?([0-9.]+%?)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = styled.match(attributes);
    if (match.hasMatch())
        return match.captured(1).remove(QLatin1Char(' '));
    match = attribute.match(attributes);
    if (!match.hasMatch())
        return QString();
    const QString width = match.captured(1);
    return width.endsWith(QLatin1Char('%')) ? width : width + QStringLiteral("px");
}

const QString kPartStyle = QStringLiteral(
    "<style>[data-part~=\"top\"] { margin-top: 0 !important; padding-top: 0 !important; "
    "min-height: 0 !important; } [data-part~=\"bottom\"] { margin-bottom: 0 !important; "
    "padding-bottom: 0 !important; min-height: 0 !important; }</style>");

} // namespace

// Reads the document's elements once, keeping every run of rows that share
// a table body, with the elements open around it.
class DocumentScan
{
public:
    explicit DocumentScan(const QString &html) : m_html(html) {}

    void run(DocumentParts &parts)
    {
        scan();
        const RowList *longest = nullptr;
        QList<int> longestGroups;
        for (const RowList &list : std::as_const(m_lists)) {
            const QList<int> groups = groupsOf(list);
            if (groups.size() > longestGroups.size()) {
                longest = &list;
                longestGroups = groups;
            }
        }
        if (!longest || longestGroups.size() < 2 || longest->bodyIndex < 0)
            return;
        parts.m_groups.clear();
        for (int row : std::as_const(longestGroups))
            parts.m_groups.append(longest->rows.at(row).start);
        parts.m_rowsEnd = longest->rows.last().end;
        parts.m_context = longest->context.mid(longest->bodyIndex);
        parts.m_bodyStart = parts.m_context.first().start;
        for (int i = 0; i < parts.m_context.size(); ++i)
            if (parts.m_context.at(i).start == longest->tableStart)
                parts.m_tableInContext = i;
        parts.m_columns = columnsOf(longest->tableStart);
    }

private:
    struct Element
    {
        DocumentParts::OpenTag tag;
        int rowList = -1; // a row of this list
        int rowIndex = -1;
        bool firstRowOfTable = false;
    };
    struct Row
    {
        int start = 0;
        int end = -1;
        int span = 1;
    };
    struct RowList
    {
        int parentStart = 0;
        int tableStart = 0;
        QList<DocumentParts::OpenTag> context; // from the root to the rows' parent
        int bodyIndex = -1;
        QList<Row> rows;
    };
    struct Cell
    {
        int colspan = 1;
        QString width;
    };
    struct Table
    {
        bool firstRowSeen = false;
        QList<Cell> firstRow;
        QString columns; // its own <col> and <colgroup> elements
    };

    void scan()
    {
        const QString &html = m_html;
        const int n = int(html.size());
        int i = 0;
        while (i < n) {
            const int lt = int(html.indexOf(QLatin1Char('<'), i));
            if (lt < 0)
                break;
            if (QStringView(html).mid(lt, 4) == QLatin1String("<!--")) {
                const int close = int(html.indexOf(QLatin1String("-->"), lt + 4));
                i = close < 0 ? n : close + 3;
                continue;
            }
            if (lt + 1 < n && (html.at(lt + 1) == QLatin1Char('!') || html.at(lt + 1) == QLatin1Char('?'))) {
                const int close = int(html.indexOf(QLatin1Char('>'), lt));
                i = close < 0 ? n : close + 1;
                continue;
            }
            const bool endTag = lt + 1 < n && html.at(lt + 1) == QLatin1Char('/');
            int p = lt + (endTag ? 2 : 1);
            const int nameStart = p;
            while (p < n && html.at(p).isLetterOrNumber())
                ++p;
            if (p == nameStart) {
                i = lt + 1;
                continue;
            }
            const QString name = html.mid(nameStart, p - nameStart).toLower();
            int q = p;
            QChar quote;
            while (q < n) {
                const QChar c = html.at(q);
                if (quote.isNull()) {
                    if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                        quote = c;
                    else if (c == QLatin1Char('>'))
                        break;
                } else if (c == quote) {
                    quote = QChar();
                }
                ++q;
            }
            if (q >= n)
                break;
            const int tagEnd = q + 1;
            i = tagEnd;
            if (endTag) {
                closeElement(name, lt, tagEnd);
                continue;
            }
            const QString attributes = html.mid(p, q - p);
            openElement(name, attributes, lt, tagEnd, attributes.endsWith(QLatin1Char('/')));
            if (isRawText(name)) {
                const int close = int(html.indexOf(QStringLiteral("</") + name, tagEnd, Qt::CaseInsensitive));
                i = close < 0 ? n : close;
            }
        }
    }

    QString topName() const { return m_stack.isEmpty() ? QString() : m_stack.last().tag.name; }

    void pop(int at)
    {
        const Element element = m_stack.takeLast();
        if (element.rowList >= 0)
            m_lists[element.rowList].rows[element.rowIndex].end = at;
    }

    void openElement(const QString &name, const QString &attributes, int start, int end, bool selfClosing)
    {
        if (isCell(name)) {
            while (isCell(topName()))
                pop(start);
        } else if (name == QLatin1String("tr")) {
            while (isCell(topName()) || topName() == QLatin1String("tr"))
                pop(start);
        } else if (isSection(name) || name == QLatin1String("colgroup")) {
            while (isCell(topName()) || topName() == QLatin1String("tr") || isSection(topName())
                   || topName() == QLatin1String("colgroup"))
                pop(start);
        } else if (name == QLatin1String("p") && topName() == QLatin1String("p")) {
            pop(start);
        }

        const QString parent = topName();
        if ((name == QLatin1String("col") || name == QLatin1String("colgroup"))
            && (parent == QLatin1String("table") || parent == QLatin1String("colgroup"))) {
            const int table = tableAt(int(m_stack.size()) - 1);
            if (table >= 0) {
                int close = end;
                if (name == QLatin1String("colgroup") && !selfClosing) {
                    const int found = int(m_html.indexOf(QStringLiteral("</colgroup>"), end, Qt::CaseInsensitive));
                    close = found < 0 ? end : found + 11;
                }
                if (parent == QLatin1String("table"))
                    m_tables[m_stack.at(table).tag.start].columns += m_html.mid(start, close - start);
            }
        }
        if (isVoid(name) || selfClosing)
            return;

        Element element;
        element.tag = {start, end, name};
        if (name == QLatin1String("tr"))
            openRow(element);
        else if (isCell(name) && parent == QLatin1String("tr"))
            openCell(attributes);
        m_stack.append(element);
    }

    // The table that element `at` of the stack is or stands in, as an index
    // of the stack; -1 when there is none.
    int tableAt(int at) const
    {
        if (at >= 0 && m_stack.at(at).tag.name == QLatin1String("table"))
            return at;
        if (at >= 1 && isSection(m_stack.at(at).tag.name) && m_stack.at(at - 1).tag.name == QLatin1String("table"))
            return at - 1;
        return -1;
    }

    void openRow(Element &row)
    {
        const int parentAt = int(m_stack.size()) - 1;
        const int tableAt = this->tableAt(parentAt);
        if (tableAt < 0)
            return;
        const int tableStart = m_stack.at(tableAt).tag.start;
        Table &table = m_tables[tableStart];
        if (!table.firstRowSeen) {
            table.firstRowSeen = true;
            row.firstRowOfTable = true;
        }
        const QString parent = m_stack.at(parentAt).tag.name;
        if (parent != QLatin1String("table") && parent != QLatin1String("tbody"))
            return; // a head or foot row stays where it is
        const int parentStart = m_stack.at(parentAt).tag.start;
        int list = m_listOfParent.value(parentStart, -1);
        if (list < 0) {
            RowList rows;
            rows.parentStart = parentStart;
            rows.tableStart = tableStart;
            for (int k = 0; k <= parentAt; ++k) {
                rows.context.append(m_stack.at(k).tag);
                if (m_stack.at(k).tag.name == QLatin1String("body") && rows.bodyIndex < 0)
                    rows.bodyIndex = k;
            }
            list = int(m_lists.size());
            m_lists.append(rows);
            m_listOfParent.insert(parentStart, list);
        }
        row.rowList = list;
        row.rowIndex = int(m_lists[list].rows.size());
        m_lists[list].rows.append(Row{row.tag.start, -1, 1});
    }

    void openCell(const QString &attributes)
    {
        Element &row = m_stack.last();
        if (row.rowList >= 0) {
            Row &r = m_lists[row.rowList].rows[row.rowIndex];
            r.span = qMax(r.span, spanOf(attributes, true));
        }
        if (row.firstRowOfTable) {
            const int tableAt = this->tableAt(int(m_stack.size()) - 2);
            if (tableAt >= 0)
                m_tables[m_stack.at(tableAt).tag.start].firstRow.append({spanOf(attributes, false),
                                                                        widthOf(attributes)});
        }
    }

    void closeElement(const QString &name, int start, int end)
    {
        int at = int(m_stack.size()) - 1;
        while (at >= 0 && m_stack.at(at).tag.name != name)
            --at;
        if (at < 0)
            return;
        while (int(m_stack.size()) - 1 > at)
            pop(start);
        pop(end);
    }

    // The first row of each group of `list`: a row with cells spanning the
    // rows below it keeps them.
    QList<int> groupsOf(const RowList &list) const
    {
        QList<int> groups;
        int coveredUntil = 0;
        int previousEnd = 0;
        for (int i = 0; i < list.rows.size(); ++i) {
            const Row &row = list.rows.at(i);
            if (row.end < row.start || row.start < previousEnd)
                return {};
            previousEnd = row.end;
            if (i >= coveredUntil)
                groups.append(i);
            coveredUntil = qMax(coveredUntil, i + row.span);
        }
        return groups;
    }

    // The table's own columns, or columns as wide as the cells of its first row.
    QString columnsOf(int tableStart) const
    {
        const Table table = m_tables.value(tableStart);
        if (!table.columns.isEmpty())
            return table.columns;
        bool anyWidth = false;
        QString columns;
        for (const Cell &cell : table.firstRow) {
            anyWidth = anyWidth || !cell.width.isEmpty();
            if (cell.colspan == 1 && !cell.width.isEmpty()) {
                columns += QStringLiteral("<col style=\"width:%1\">").arg(cell.width);
            } else {
                for (int c = 0; c < cell.colspan; ++c)
                    columns += QStringLiteral("<col>");
            }
        }
        return anyWidth ? QStringLiteral("<colgroup>") + columns + QStringLiteral("</colgroup>") : QString();
    }

    const QString &m_html;
    QList<Element> m_stack;
    QList<RowList> m_lists;
    QHash<int, int> m_listOfParent;
    QHash<int, Table> m_tables;
};

DocumentParts::DocumentParts(const QString &html)
    : m_html(html)
{
    DocumentScan(m_html).run(*this);
}

QString DocumentParts::part(int first, int end) const
{
    const int count = groups();
    first = qBound(0, first, count - 1);
    end = qBound(first + 1, end, count);
    if (m_groups.isEmpty() || (first == 0 && end == count))
        return m_html;

    const bool isFirst = first == 0;
    const bool isLast = end == count;
    const auto offsetOf = [this](int group) { return group < m_groups.size() ? m_groups.at(group) : m_rowsEnd; };
    // Marks an element whose outer space the part leaves out.
    const auto marked = [this](const OpenTag &tag, const QString &sides) {
        QString text = m_html.mid(tag.start, tag.end - tag.start);
        const int at = int(text.size()) - (text.endsWith(QLatin1String("/>")) ? 2 : 1);
        return text.insert(at, QStringLiteral(" data-part=\"%1\"").arg(sides));
    };

    QString text = m_html.left(m_bodyStart) + kPartStyle;
    if (isFirst) {
        // The document's start, its elements around the rows marked at their
        // bottom: the next part goes on where this one's rows end.
        int from = m_bodyStart;
        for (const OpenTag &tag : m_context) {
            text += m_html.mid(from, tag.start - from) + marked(tag, QStringLiteral("bottom"));
            from = tag.end;
        }
        text += m_html.mid(from, offsetOf(0) - from);
    } else {
        const QString sides = isLast ? QStringLiteral("top") : QStringLiteral("top bottom");
        for (int i = 0; i < m_context.size(); ++i) {
            text += marked(m_context.at(i), sides);
            if (i == m_tableInContext)
                text += m_columns;
        }
    }
    text += m_html.mid(offsetOf(first), offsetOf(end) - offsetOf(first));
    if (isLast) {
        text += m_html.mid(m_rowsEnd);
    } else {
        for (int i = int(m_context.size()) - 1; i >= 0; --i)
            text += QStringLiteral("</") + m_context.at(i).name + QStringLiteral(">");
        text += QStringLiteral("</html>");
    }
    return text;
}
