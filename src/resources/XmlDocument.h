#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// One element of the index. Record 0 stands for the document itself.
struct ElementRecord {
    std::int32_t start = 0;   // offset of the element's "<"
    std::int32_t length = 0;  // start tag to end tag; the start tag alone when empty or never ended
    std::int32_t tagLengths = 0;     // start-tag length in the low 22 bits, end-tag length above
    std::int32_t flagsAndLevel = 0;  // level in the low 16 bits, flags above
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t nextSibling = 0;
    // For a first child: its parent's last child (a lone child points to itself).
    std::int32_t previousSibling = 0;
};

// A read-only XML document: the file's text as UTF-16, an index of its elements built in one
// pass, and a cursor (parent, current and child element) that walks it. Names are not copied
// into the index; they are read back from the text.
class XmlDocument {
public:
    enum DocumentFlag : int {
        FlagUtf16LittleEndianMark = 0x1,
        FlagUtf8Mark = 0x4,
        FlagNoCase = 0x8,  // compare names without regard to case
        FlagReading = 0x10,
        FlagUtf16BigEndianMark = 0x80,
    };
    enum RecordFlag : std::int32_t {
        RecordFirstChild = 0x80000,
        RecordNeverEnded = 0x100000,
        RecordNotWellFormed = 0x800000,  // record 0 only
    };
    static constexpr std::int32_t BlockSize = 65536;
    static constexpr std::int32_t MaxLevel = 0xFFFF;
    // Files beyond this are not read: offsets into the text are 32-bit.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;

    XmlDocument();

    // Reads a file into the text as UTF-16, whatever its encoding; true when it was opened
    // and read. The report tells what was found; the index is left to ParseDocument.
    bool LoadFile(const QString& path);
    // Builds the index; true when the document is well formed with a single root element.
    bool ParseDocument();

    void Rewind();
    // The next element on the current level named name (any element when name is empty).
    bool NextElement(QStringView name = {});
    // The next child of the current element named name; after Rewind this selects the root.
    bool NextChildElement(QStringView name = {});
    // Makes the current child the current element.
    bool EnterElement();
    QString ChildAttribute(QStringView name) const;
    QString ChildText() const;
    QString LoadReport() const { return report_; }

    // The document's text as it stands; setText replaces it as a load would, with no load
    // account (the index stays until the next ParseDocument).
    const QString& text() const { return text_; }
    void setText(QString text);
    int documentFlags() const { return documentFlags_; }
    void setDocumentFlags(int flags) { documentFlags_ = flags; }

    std::int32_t parentPosition() const { return parentPosition_; }
    std::int32_t currentPosition() const { return currentPosition_; }
    std::int32_t childPosition() const { return childPosition_; }
    // Records in use, record 0 included.
    std::int32_t recordCount() const { return freeIndex_; }
    const ElementRecord& record(std::int32_t index) const { return recordAt(index); }
    std::int32_t startTagLength(std::int32_t index) const;
    std::int32_t endTagLength(std::int32_t index) const;
    // The element's tag name, read from the text.
    QStringView tagName(std::int32_t index) const;

private:
    struct ReadState;
    // A start tag still waiting for its end tag, with what matching an end tag against it
    // needs, so that no name is read back from the text and no name is compared in vain.
    struct OpenTag {
        std::int32_t index;
        std::int32_t nameLength;
        std::int32_t* namesOpen;  // its count in openNames_; null until names are counted
    };
    struct NameHash {
        std::size_t operator()(QStringView name) const noexcept { return qHash(name); }
    };

    bool DecodeTextFile(int file, qint64 bytesToRead, ReadState& state);

    ElementRecord& recordAt(std::int32_t index) {
        return blocks_[size_t(index >> 16)][index & 0xFFFF];
    }
    const ElementRecord& recordAt(std::int32_t index) const {
        return blocks_[size_t(index >> 16)][index & 0xFFFF];
    }
    std::int32_t newRecord();
    void reserveRecords(std::int32_t capacity);
    void setTagLengths(std::int32_t index, qsizetype startLength, qsizetype endLength);
    void pushOpenTag(std::int32_t index, QStringView name);
    void popOpenTag();
    void countOpenName(OpenTag& open, QStringView name);
    std::size_t innermostOpenTagNamed(QStringView name);
    void closeNeverEnded(std::size_t firstOpen, std::int32_t newParent);
    std::int32_t findSibling(std::int32_t parent, std::int32_t after, QStringView name) const;
    bool noCase() const { return documentFlags_ & FlagNoCase; }

    QString text_;
    QString report_;
    std::int32_t parentPosition_ = 0;
    std::int32_t currentPosition_ = 0;
    std::int32_t childPosition_ = 0;
    std::int32_t freeIndex_ = 0;
    std::int32_t currentKind_ = 0;
    int documentFlags_ = 0;
    // Blocks of BlockSize records: growing the index never moves a record.
    std::vector<std::unique_ptr<ElementRecord[]>> blocks_;
    std::int32_t capacity_ = 0;
    // Exact tag lengths of the rare tags too long for their bit fields.
    std::unordered_map<std::int32_t, std::pair<qsizetype, qsizetype>> longTags_;
    std::vector<OpenTag> openTags_;
    // Every name an open tag has carried during this parse (views into the text), with the
    // number of open tags that carry it now. An end tag whose name no open tag carries is
    // told at once instead of by a walk through the whole stack. Kept from the first end tag
    // that does not match the innermost open tag on.
    std::unordered_map<QStringView, std::int32_t, NameHash> openNames_;
    bool namesCounted_ = false;
    // What LoadFile found; ParseDocument puts its own findings after it.
    QString loadReport_;
};
