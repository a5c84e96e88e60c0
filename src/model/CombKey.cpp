#include "model/CombKey.h"

#include <algorithm>

tagCombKey tagCombKey::read(ConstRecord record) {
    tagCombKey comb;
    std::copy_n(record.begin(), KeySlots, comb.keys.begin());
    comb.name = StoredName::read(record.subspan<NameOffset, StoredName::Bytes>());
    return comb;
}

void tagCombKey::write(Record record) const {
    std::copy(keys.begin(), keys.end(), record.begin());
    StoredName::write(record.subspan<NameOffset, StoredName::Bytes>(), name);
}
