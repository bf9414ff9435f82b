#pragma once
// The lines of the operation log, one per row, in the order written.  Rows are
// looked up by index on every paint, so lookup is constant time; lines are kept
// whole however long they are.  Owned and used by the GUI thread only.

#include <QString>
#include <deque>

namespace kz {

class CLogStore {
public:
    void Append(QString line) { m_lines.push_back(std::move(line)); }
    int Count() const { return static_cast<int>(m_lines.size()); }
    // Text of `column` in `row`; only column 0 carries text, and a row out of
    // range gives the empty text.
    QString ItemText(int row, int column) const;

private:
    std::deque<QString> m_lines;
};

}  // namespace kz
