#pragma once
// A long document as documents of a few rows each, which the tool lays out
// and draws one at a time (several at once) instead of the whole document
// for every band of its picture.
//
// The rows are those of the longest run of rows in one table body; a row
// whose cells span later rows keeps them with it (a group). A part holds
// some groups in the same table: the first part the document's start, the
// last its end; the others the document's head (styles) and the elements
// the rows stand in, without their outer space (margins, padding, least
// heights), and the table's column widths (from its first row). Their
// pictures joined (PageCutting::joinedHeight) are the rows as the whole
// document draws them.

#include <QList>
#include <QString>

class DocumentParts
{
public:
    // Finds the rows of `html`; a document without a table of two rows or
    // more has one group (and is drawn whole).
    explicit DocumentParts(const QString &html);

    int groups() const { return m_groups.isEmpty() ? 1 : int(m_groups.size()); }
    // The document of groups [first, end).
    QString part(int first, int end) const;

private:
    struct OpenTag
    {
        int start = 0; // offset of '<'
        int end = 0;   // offset after '>'
        QString name;
    };

    QString m_html;
    QList<int> m_groups;      // offset of each group's first row
    int m_rowsEnd = 0;        // offset after the last row
    QList<OpenTag> m_context; // from <body> down to the rows' parent
    int m_bodyStart = 0;      // offset of <body>, where the context begins
    int m_tableInContext = -1;
    QString m_columns;        // "<colgroup>...</colgroup>" of the rows' table, or empty

    friend class DocumentScan;
};
