#include "model/MacroTable.h"

MacroTable::Image& MacroTable::image() {
    static Image bytes{};
    return bytes;
}
