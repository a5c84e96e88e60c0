#include "model/RecordPositions.h"

#include <algorithm>
#include <numeric>

void RecordPositions::reset(int rowCount) {
    loaded_.assign(std::max(rowCount, 0), 0);
    std::iota(loaded_.begin(), loaded_.end(), 0);
}

void RecordPositions::append() {
    loaded_.push_back(-1);
}

std::optional<int> RecordPositions::remove(int row) {
    if (row < 0 || row >= int(loaded_.size()))
        return std::nullopt;
    const int loaded = loaded_[row];
    loaded_.erase(loaded_.begin() + row);
    if (loaded < 0)
        return std::nullopt;
    return loaded;
}

std::optional<int> RecordPositions::rowOf(int storedPosition) const {
    if (storedPosition < 0)
        return std::nullopt;
    const auto it = std::find(loaded_.begin(), loaded_.end(), storedPosition);
    if (it == loaded_.end())
        return std::nullopt;
    return int(it - loaded_.begin());
}
