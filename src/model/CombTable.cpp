#include "model/CombTable.h"

CombTable::Image& CombTable::image() {
    static Image bytes{};
    return bytes;
}
