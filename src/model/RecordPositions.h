#pragma once

#include <optional>
#include <vector>

// Where the rows of a working list (macros, combinations) lay in the stored table they were
// loaded from. Keys name records by their stored position, and the stored table keeps its
// order until the list is stored again, so the positions keys name must be followed through
// the removals made in between.
class RecordPositions {
public:
    // A list just loaded from the stored table: row i lies at stored position i.
    void reset(int rowCount);
    // A row added at the end, which is stored nowhere yet.
    void append();
    // Removes the row and returns the stored position it was loaded from; none for an added
    // row or a row that does not exist.
    std::optional<int> remove(int row);

    // The row that the record at this stored position is now in, which is its position once
    // the list is stored; none when it was removed or never loaded.
    std::optional<int> rowOf(int storedPosition) const;

private:
    std::vector<int> loaded_;  // per row its stored position; -1 for an added row
};
