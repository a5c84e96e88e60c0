#include "resources/XmlDocument.h"

#include "platform/CodePage.h"
#include "resources/CharacterReferences.h"
#include "resources/CharsetTable.h"
#include "resources/XmlEncoding.h"
#include "resources/XmlScanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::int32_t kStartTagBits = 0x3FFFFF;
constexpr std::int32_t kEndTagBits = 0x3FF;

QString quoted(QStringView name) {
    return QLatin1Char('\'') + name.toString() + QLatin1Char('\'');
}

QString offset(qsizetype at) {
    return QStringLiteral(" at offset ") + QString::number(at);
}

}  // namespace

XmlDocument::XmlDocument() {
    ParseDocument();
}

void XmlDocument::setText(QString text) {
    text_ = std::move(text);
    loadReport_.clear();
    report_.clear();
}

// ---- the index ----

void XmlDocument::reserveRecords(std::int32_t capacity) {
    capacity_ = capacity;
    while (std::int64_t(blocks_.size()) * BlockSize < capacity)
        blocks_.push_back(std::make_unique_for_overwrite<ElementRecord[]>(BlockSize));
}

std::int32_t XmlDocument::newRecord() {
    if (freeIndex_ >= capacity_)
        reserveRecords(capacity_ + std::max(capacity_ / 2, 1));
    recordAt(freeIndex_) = ElementRecord{};
    return freeIndex_++;
}

void XmlDocument::setTagLengths(std::int32_t index, qsizetype startLength, qsizetype endLength) {
    const std::int32_t startBits = std::int32_t(std::min<qsizetype>(startLength, kStartTagBits));
    const std::int32_t endBits = std::int32_t(std::min<qsizetype>(endLength, kEndTagBits));
    recordAt(index).tagLengths =
        std::int32_t(std::uint32_t(startBits) | std::uint32_t(endBits) << 22);
    if (startBits == kStartTagBits || endBits == kEndTagBits)
        longTags_[index] = {startLength, endLength};
    else if (!longTags_.empty())
        longTags_.erase(index);
}

std::int32_t XmlDocument::startTagLength(std::int32_t index) const {
    const std::int32_t bits = recordAt(index).tagLengths & kStartTagBits;
    if (bits == kStartTagBits)
        return std::int32_t(longTags_.at(index).first);
    return bits;
}

std::int32_t XmlDocument::endTagLength(std::int32_t index) const {
    const std::int32_t bits = std::int32_t(std::uint32_t(recordAt(index).tagLengths) >> 22);
    if (bits == kEndTagBits)
        return std::int32_t(longTags_.at(index).second);
    return bits;
}

QStringView XmlDocument::tagName(std::int32_t index) const {
    const qsizetype from = recordAt(index).start + 1;
    return QStringView(text_).sliced(from, XmlScanner::nameEnd(text_, from) - from);
}

void XmlDocument::pushOpenTag(std::int32_t index, QStringView name) {
    if (openTags_.size() == openTags_.capacity())
        openTags_.reserve(2 * openTags_.size() + 6);
    openTags_.push_back({index, std::int32_t(name.size()), nullptr});
    if (namesCounted_)
        countOpenName(openTags_.back(), name);
}

void XmlDocument::countOpenName(OpenTag& open, QStringView name) {
    open.namesOpen = &openNames_[name];
    ++*open.namesOpen;
}

void XmlDocument::popOpenTag() {
    if (openTags_.back().namesOpen)
        --*openTags_.back().namesOpen;
    openTags_.pop_back();
}

// One past the position in the stack of the innermost open tag named name; 0 when none is.
// The innermost tag is tried first, as a well-formed document always matches it. Otherwise
// the stack is walked only when some open tag carries the name, and then every tag passed
// is closed by the caller, so each open tag is passed at most once in the whole parse.
// Well-formed documents never get here, so the names are counted only from the first
// mismatch on.
std::size_t XmlDocument::innermostOpenTagNamed(QStringView name) {
    const QStringView text(text_);
    auto nameOf = [&](const OpenTag& open) {
        return text.sliced(recordAt(open.index).start + 1, open.nameLength);
    };
    auto carries = [&](const OpenTag& open) {
        return open.nameLength == name.size() && nameOf(open) == name;
    };
    std::size_t k = openTags_.size();
    if (k == 0 || carries(openTags_[k - 1]))
        return k;
    if (!namesCounted_) {
        namesCounted_ = true;
        for (OpenTag& open : openTags_)
            countOpenName(open, nameOf(open));
    }
    const auto named = openNames_.find(name);
    if (named == openNames_.end() || named->second == 0)
        return 0;
    while (!carries(openTags_[k - 1]))
        --k;
    return k;
}

// Closes the open tags from firstOpen up (innermost first) as never ended: the children of each
// follow it as siblings, so they all end up as children of newParent, after openTags_[firstOpen].
// The parent fields are fixed in one pass at the end, so deep unclosed nesting stays linear.
void XmlDocument::closeNeverEnded(std::size_t firstOpen, std::int32_t newParent) {
    const std::int32_t outermost = openTags_[firstOpen].index;
    while (openTags_.size() > firstOpen) {
        const std::int32_t index = openTags_.back().index;
        popOpenTag();
        ElementRecord& element = recordAt(index);
        element.flagsAndLevel |= RecordNeverEnded;
        setTagLengths(index, startTagLength(index), 0);
        element.length = startTagLength(index);
        const std::int32_t first = element.firstChild;
        if (first == 0)
            continue;
        // The element is the last child of its parent; its own children now follow it.
        ElementRecord& firstChild = recordAt(first);
        const std::int32_t last = firstChild.previousSibling;
        firstChild.flagsAndLevel &= ~RecordFirstChild;
        firstChild.previousSibling = index;
        element.nextSibling = first;
        element.firstChild = 0;
        recordAt(recordAt(element.parent).firstChild).previousSibling = last;
    }
    for (std::int32_t moved = recordAt(outermost).nextSibling; moved;
         moved = recordAt(moved).nextSibling)
        recordAt(moved).parent = newParent;
}

bool XmlDocument::ParseDocument() {
    report_.clear();
    Rewind();
    const QStringView text(text_);
    const qsizetype n = text.size();
    const char16_t* d = text.utf16();

    longTags_.clear();
    freeIndex_ = 0;
    reserveRecords(std::int32_t(n / 64 + 8));
    newRecord();

    std::int32_t root = 0;
    bool wellFormed = true;
    auto note = [&](auto message) {
        wellFormed = false;
        if (report_.isEmpty())
            report_ = message();
    };

    if (n == 0) {
        report_ = QStringLiteral("Empty document");
    } else {
        openTags_.clear();
        openTags_.reserve(6);
        std::int32_t parent = 0;
        for (qsizetype position = 0;;) {
            // Text between tags adds nothing to the index.
            if (position < n && d[position] != u'<') {
                position = text.indexOf(u'<', position);
                if (position < 0)
                    position = n;
                continue;
            }
            const XmlNode node = XmlScanner::scan(text, position);
            position = node.end;
            if (node.kind == XmlNode::StartTag) {
                const std::int32_t index = newRecord();
                if (root == 0)
                    root = index;
                ElementRecord& element = recordAt(index);
                element.start = std::int32_t(node.start);
                element.length = std::int32_t(node.end - node.start);
                element.flagsAndLevel =
                    std::min<std::int32_t>(std::int32_t(openTags_.size()), MaxLevel);
                element.parent = parent;
                setTagLengths(index, node.end - node.start, 0);
                ElementRecord& parentRecord = recordAt(parent);
                if (parentRecord.firstChild == 0) {
                    parentRecord.firstChild = index;
                    element.flagsAndLevel |= RecordFirstChild;
                    element.previousSibling = index;
                } else {
                    ElementRecord& first = recordAt(parentRecord.firstChild);
                    recordAt(first.previousSibling).nextSibling = index;
                    element.previousSibling = first.previousSibling;
                    first.previousSibling = index;
                }
                if (!node.empty) {
                    pushOpenTag(index, text.sliced(node.nameStart, node.nameEnd - node.nameStart));
                    parent = index;
                }
            } else if (node.kind == XmlNode::EndTag) {
                const QStringView name = text.sliced(node.nameStart, node.nameEnd - node.nameStart);
                const std::size_t k = innermostOpenTagNamed(name);
                if (k == 0) {
                    note([&] {
                        return QStringLiteral("No start tag for end tag ") + quoted(name) +
                               offset(node.start);
                    });
                    continue;
                }
                const std::size_t matched = k - 1;
                const std::int32_t index = openTags_[matched].index;
                if (matched + 1 < openTags_.size()) {
                    const std::int32_t inner = openTags_.back().index;
                    note([&] {
                        return QStringLiteral("End tag ") + quoted(name) + offset(node.start + 1) +
                               QStringLiteral(" does not match start tag ") +
                               quoted(tagName(inner)) + offset(recordAt(inner).start);
                    });
                    closeNeverEnded(matched + 1, index);
                }
                ElementRecord& element = recordAt(index);
                element.length = std::int32_t(node.end - element.start);
                setTagLengths(index, startTagLength(index), node.end - node.start);
                popOpenTag();
                parent = element.parent;
            } else if (node.kind == XmlNode::Malformed) {
                note([&] { return node.error; });
            } else if (node.kind == XmlNode::EndOfText) {
                if (!openTags_.empty()) {
                    const std::int32_t inner = openTags_.back().index;
                    note([&] {
                        return QStringLiteral("Element ") + quoted(tagName(inner)) +
                               offset(recordAt(inner).start) + QStringLiteral(" not ended");
                    });
                    closeNeverEnded(0, 0);
                }
                break;
            }
        }
        // Its views would outlive the text they point into.
        openNames_.clear();
        namesCounted_ = false;
    }

    ElementRecord& document = recordAt(0);
    document.length = std::int32_t(n);
    document.firstChild = root;
    if (!wellFormed)
        document.flagsAndLevel |= RecordNotWellFormed;
    if (n > 0 && root == 0)
        report_ = QStringLiteral("No root element");
    else if (root != 0 && recordAt(root).nextSibling != 0)
        report_ = QStringLiteral("Root element has sibling");

    Rewind();
    if (!loadReport_.isEmpty())
        report_ = report_.isEmpty() ? loadReport_ : loadReport_ + QLatin1Char(' ') + report_;
    return wellFormed && root != 0 && recordAt(root).nextSibling == 0;
}

// ---- navigation ----

void XmlDocument::Rewind() {
    parentPosition_ = 0;
    currentPosition_ = 0;
    childPosition_ = 0;
    currentKind_ = 0;
}

std::int32_t XmlDocument::findSibling(std::int32_t parent, std::int32_t after,
                                      QStringView name) const {
    std::int32_t candidate = after ? recordAt(after).nextSibling : recordAt(parent).firstChild;
    if (name.isEmpty())
        return candidate;
    for (; candidate; candidate = recordAt(candidate).nextSibling)
        if (XmlScanner::namesMatch(tagName(candidate), name, noCase()))
            return candidate;
    return 0;
}

bool XmlDocument::NextElement(QStringView name) {
    const std::int32_t found = findSibling(parentPosition_, currentPosition_, name);
    if (found == 0)
        return false;
    currentPosition_ = found;
    parentPosition_ = recordAt(found).parent;
    childPosition_ = 0;
    currentKind_ = 1;
    return true;
}

bool XmlDocument::NextChildElement(QStringView name) {
    const std::int32_t parent = parentPosition_, current = currentPosition_, child = childPosition_,
                       kind = currentKind_;
    if (currentPosition_ == 0)
        NextElement();
    const std::int32_t found = findSibling(currentPosition_, childPosition_, name);
    if (found == 0) {
        // A failed search leaves the cursor where it was, even when it selected the root.
        parentPosition_ = parent;
        currentPosition_ = current;
        childPosition_ = child;
        currentKind_ = kind;
        return false;
    }
    childPosition_ = found;
    currentPosition_ = recordAt(found).parent;
    parentPosition_ = recordAt(currentPosition_).parent;
    currentKind_ = currentPosition_ ? 1 : 0;
    return true;
}

bool XmlDocument::EnterElement() {
    if (currentPosition_ == 0 || currentKind_ != 1)
        return false;
    parentPosition_ = currentPosition_;
    currentPosition_ = childPosition_;
    childPosition_ = 0;
    currentKind_ = currentPosition_ ? 1 : 0;
    return true;
}

QString XmlDocument::ChildAttribute(QStringView name) const {
    if (childPosition_ == 0 || currentKind_ != 1)
        return {};
    const ElementRecord& child = recordAt(childPosition_);
    const QStringView inside =
        QStringView(text_).sliced(child.start + 1, startTagLength(childPosition_) - 1);
    const auto value = XmlScanner::attributeValue(inside, name, noCase());
    return value ? CharacterReferences::decode(*value) : QString();
}

QString XmlDocument::ChildText() const {
    if (childPosition_ == 0)
        return {};
    const ElementRecord& child = recordAt(childPosition_);
    const std::int32_t startLength = startTagLength(childPosition_);
    if (child.firstChild != 0 || child.length == startLength)
        return {};
    const qsizetype from = child.start + startLength;
    const qsizetype to = child.start + child.length - endTagLength(childPosition_);
    const QStringView content = QStringView(text_).sliced(from, std::max<qsizetype>(to - from, 0));
    if (!content.contains(u'<'))
        return CharacterReferences::decode(content);

    QString result;
    for (qsizetype position = 0;;) {
        const XmlNode node = XmlScanner::scan(content, position);
        if (node.kind == XmlNode::EndOfText)
            break;
        position = node.end;
        if (node.kind == XmlNode::Text) {
            result +=
                CharacterReferences::decode(content.sliced(node.start, node.end - node.start));
        } else if (node.kind == XmlNode::CData) {
            // Without "<![CDATA[" and "]]>"; a section too short for both gives nothing.
            const qsizetype begin = std::min(node.start + 9, node.end - 3);
            result += content.sliced(begin, node.end - 3 - begin);
        }
    }
    return result;
}

// ---- loading ----

struct XmlDocument::ReadState {
    int flags = 0;
    int bytesPerUnit = 1;
    QString encoding;
    const char* layout = nullptr;  // a 16/32-bit file without a mark, told by its first bytes
    QString readReport;
};

namespace {

struct Mark {
    QByteArrayView bytes;
    const char* name;
    int flag;
    int bytesPerUnit;
};

// UTF-32 marks go before the UTF-16 ones: FF FE 00 00 would otherwise read as UTF-16LE.
const Mark kMarks[] = {
    {QByteArrayView("\xEF\xBB\xBF", 3), "UTF-8", XmlDocument::FlagUtf8Mark, 1},
    {QByteArrayView("\x00\x00\xFE\xFF", 4), "UTF-32BE", 0, 1},
    {QByteArrayView("\xFF\xFE\x00\x00", 4), "UTF-32LE", 0, 1},
    {QByteArrayView("\xFF\xFE", 2), "UTF-16LE", XmlDocument::FlagUtf16LittleEndianMark, 2},
    {QByteArrayView("\xFE\xFF", 2), "UTF-16BE", XmlDocument::FlagUtf16BigEndianMark, 2},
};

// Reads up to size bytes; -1 with errno set on failure. A file that shrank gives fewer.
qint64 readFully(int file, char* into, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(file, into + done, size_t(size - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

template <typename Container>
qsizetype removeZeros(Container& units) {
    const auto end = std::remove(units.begin(), units.end(), typename Container::value_type(0));
    const qsizetype removed = units.end() - end;
    units.truncate(end - units.begin());
    return removed;
}

}  // namespace

bool XmlDocument::LoadFile(const QString& path) {
    ReadState state;
    state.flags = (documentFlags_ | FlagReading) &
                  ~(FlagUtf16LittleEndianMark | FlagUtf8Mark | FlagUtf16BigEndianMark);
    text_.clear();

    auto fail = [&](int error, int file) {
        const QString message = CodePage::systemMessage(error);
        if (file >= 0)
            ::close(file);
        text_.clear();
        report_ = loadReport_ = message;
        documentFlags_ = state.flags & ~FlagReading;
        return false;
    };

    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return fail(errno, -1);
    struct stat info;
    if (::fstat(file, &info) != 0)
        return fail(errno, file);
    if (info.st_size > MaxFileSize)
        return fail(EFBIG, file);

    qint64 bytesToRead = info.st_size;
    bool marked = false;
    if (bytesToRead > 0) {
        QByteArray sample(qsizetype(std::min<qint64>(bytesToRead, 1024)), Qt::Uninitialized);
        const qint64 got = readFully(file, sample.data(), sample.size());
        if (got < 0)
            return fail(errno, file);
        sample.truncate(qsizetype(got));

        qint64 markLength = 0;
        for (const Mark& mark : kMarks) {
            if (QByteArrayView(sample).startsWith(mark.bytes)) {
                markLength = mark.bytes.size();
                state.flags |= mark.flag;
                state.bytesPerUnit = mark.bytesPerUnit;
                state.encoding = QString::fromLatin1(mark.name);
                marked = true;
                break;
            }
        }
        bytesToRead -= markLength;
        if (::lseek(file, off_t(markLength), SEEK_SET) < 0)
            return fail(errno, file);

        bool unusableDeclaration = false;
        if (!marked) {
            // A declaration can only be read in the encoding the text is laid out in.
            state.layout = WideLayoutOf(sample);
            const QString head = state.layout ? CodePage::toUnicode(state.layout, sample)
                                              : QString::fromUtf8(sample);
            state.encoding = ScanEncodingDeclaration(head);
            // A declaration read from 8-bit text cannot be right about 16- or 32-bit units:
            // the file is read as 8-bit text that declares nothing, by the UTF-8 test.
            if (!state.layout && WideUnitSize(state.encoding) != 0) {
                state.encoding.clear();
                unusableDeclaration = true;
            }
            if (state.encoding.isEmpty() && state.layout)
                state.encoding = QString::fromLatin1(state.layout);
        }
        if (state.encoding.isEmpty() && !unusableDeclaration && !sample.isEmpty() &&
            sample[0] == '<')
            state.encoding = QStringLiteral("UTF-8");
    }

    QString openReport;
    if (!state.encoding.isEmpty())
        openReport =
            state.encoding + (marked ? QStringLiteral(" BOM +") : QString()) + QLatin1Char(' ');
    const bool read = DecodeTextFile(file, bytesToRead, state);
    ::close(file);
    state.flags &= ~(FlagReading | 0x20 | 0x40);
    if (openReport.isEmpty())
        openReport =
            state.encoding.isEmpty() ? QStringLiteral("ANSI ") : state.encoding + QLatin1Char(' ');
    openReport += state.readReport;
    if (!read)
        text_.clear();
    report_ = loadReport_ = openReport;
    documentFlags_ = state.flags;
    return read;
}

bool XmlDocument::DecodeTextFile(int file, qint64 n, ReadState& state) {
    if (n == 0) {
        state.readReport = QStringLiteral("0 length ");
        return true;
    }
    QByteArray bytes(qsizetype(n), Qt::Uninitialized);
    const qint64 got = readFully(file, bytes.data(), n);
    if (got < 0) {
        state.readReport = CodePage::systemMessage(errno);
        return false;
    }
    bytes.truncate(qsizetype(got));
    state.readReport = QStringLiteral("length %1 ").arg(bytes.size() / state.bytesPerUnit);
    auto noteNulls = [&](qsizetype removed) {
        if (removed > 0)
            state.readReport += QStringLiteral("(%1 nulls removed) ").arg(removed);
    };

    if (state.flags & (FlagUtf16LittleEndianMark | FlagUtf16BigEndianMark)) {
        const qsizetype units = bytes.size() / 2;
        text_.resize(units);
        // Units are assembled from bytes, so the swap of a big-endian file is the same step.
        char16_t* out = reinterpret_cast<char16_t*>(text_.data());
        if (state.flags & FlagUtf16BigEndianMark)
            qFromBigEndian<char16_t>(bytes.constData(), units, out);
        else
            qFromLittleEndian<char16_t>(bytes.constData(), units, out);
        noteNulls(text_.contains(QChar(0)) ? removeZeros(text_) : 0);
        if (state.flags & FlagUtf16BigEndianMark)
            state.readReport += QStringLiteral("endian swap ");
        return true;
    }

    // 16- and 32-bit Unicode read as bytes: their zero bytes are part of the characters, so
    // zero characters are removed after the conversion instead.
    if (const char* wide = WideConverterFor(state.encoding, state.layout)) {
        text_ = CodePage::toUnicode(wide, bytes);
        noteNulls(text_.contains(QChar(0)) ? removeZeros(text_) : 0);
        state.readReport += QStringLiteral("to %1 wide chars ").arg(text_.size());
        return true;
    }

    noteNulls(std::memchr(bytes.constData(), 0, size_t(bytes.size())) ? removeZeros(bytes) : 0);
    if (state.encoding.isEmpty()) {
        if (PassesUtf8Test(bytes))
            state.encoding = QStringLiteral("UTF-8");
        state.readReport += QStringLiteral("(used UTF-8 detection) ");
    }
    text_ = CodePage::toUnicode(CharsetTable::codePage(state.encoding), bytes);
    state.readReport += QStringLiteral("to %1 wide chars ").arg(text_.size());
    return true;
}
