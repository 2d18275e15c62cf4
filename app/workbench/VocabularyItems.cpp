#include "VocabularyItems.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <map>

#include "Debugger.h"
#include "DefaultImage.h"
#include "Disassembler.h"
#include "Lcdm.h"
#include "pixelart/image.h"

namespace zorsim {
namespace {

// The names the default image's sources give its items, read from the
// sources built into the program, so that they never drift from them.
struct DefaultNames {
    std::map<std::pair<uint8_t, uint8_t>, QString> items;  // (type, number)
    std::vector<QString> icons;                            // in record order
};

QStringList SourceLines(const zorasm::SourceFiles& files, const char* name) {
    std::string why;
    const std::optional<std::string> text =
        files.Read(zorasm::RelativeTo(zorasm::kDefaultImageSource, name), why);
    return text ? QString::fromStdString(*text).split('\n') : QStringList();
}

// The layout's constants of the procedures: ".equ bottom_line, 30" under the
// line "; Procedures.", up to the blank line that ends them.
void ReadProcedureNames(const zorasm::SourceFiles& files, DefaultNames& names) {
    static const QRegularExpression constant(R"(^\.equ\s+(\w+),\s*(\d+)\b)");
    bool inProcedures = false;
    for (const QString& line : SourceLines(files, "default.zasm")) {
        if (!inProcedures) {
            inProcedures = line.startsWith("; Procedures.");
            continue;
        }
        if (line.trimmed().isEmpty()) break;
        const QRegularExpressionMatch match = constant.match(line);
        if (match.hasMatch() && match.captured(2).toUInt() <= 255)
            names.items[{lcdm::kItemProcedure, static_cast<uint8_t>(match.captured(2).toUInt())}] =
                match.captured(1).replace('_', ' ');
    }
}

// The table of scripts in the comment that opens their file:
// ";   1..8   key n changed its state to p: ...".
void ReadScriptNames(const zorasm::SourceFiles& files, DefaultNames& names) {
    static const QRegularExpression row(R"(^;\s+(\d+)(?:\.\.(\d+))?\s{2,}(\S.*)$)");
    for (const QString& line : SourceLines(files, "scripts.zasm")) {
        if (!line.startsWith(';')) break;
        const QRegularExpressionMatch match = row.match(line);
        if (!match.hasMatch()) continue;
        const uint from = match.captured(1).toUInt();
        const uint to = match.captured(2).isEmpty() ? from : match.captured(2).toUInt();
        for (uint n = from; n <= std::min(to, 255u); ++n)
            names.items[{lcdm::kItemScript, static_cast<uint8_t>(n)}] = match.captured(3).trimmed();
    }
}

// The quoted labels of the pictures: "bitmap 20 'keys 1-4'", "icon 1 'Kitchen'".
void ReadPictureNames(const zorasm::SourceFiles& files, DefaultNames& names) {
    for (const char* file : {"bitmaps.art", "icons.art"}) {
        const QStringList lines = SourceLines(files, file);
        if (lines.isEmpty()) continue;
        try {
            const pixelart::PictureSet set = pixelart::ParsePictures(
                pixelart::ParseDocument(lines.join('\n').toStdString(), file));
            for (const pixelart::BitmapSource& bitmap : set.bitmaps)
                if (bitmap.number >= 0 && bitmap.number <= 255)
                    names.items[{lcdm::kItemBitmap, static_cast<uint8_t>(bitmap.number)}] =
                        QString::fromStdString(bitmap.label);
            for (const pixelart::IconSource& icon : set.icons)
                names.icons.push_back(QString::fromStdString(icon.label));
        } catch (const std::exception&) {
            // A picture file that does not parse names nothing; the image
            // could not have been built from it either.
        }
    }
}

const DefaultNames& Names() {
    static const DefaultNames names = [] {
        DefaultNames read;
        const zorasm::MemoryFiles files = zorasm::EmbeddedImageFiles();
        ReadProcedureNames(files, read);
        ReadScriptNames(files, read);
        ReadPictureNames(files, read);
        return read;
    }();
    return names;
}

// The item lies where the default image has an item of the same length,
// number and type.
bool InDefaultImage(const services::ChainItem& item) {
    const uint32_t at = item.address;
    if (at + lcdm::kItemHeaderSize > lcdm::kModuleMemorySize) return false;
    const uint8_t* header = lcdm::DefaultImage + at;
    return lcdm::MakeWord(header[0], header[1]) == item.length && header[2] == item.number &&
           header[3] == item.type;
}

}  // namespace

QString ItemPlace(uint8_t type, uint8_t number) {
    Breakpoint point;
    point.type = type;
    point.number = number;
    const QString text = point.Text();  // "script 5 + 4"
    const qsizetype plus = text.lastIndexOf(" + ");
    if (plus < 0) return QString("item %1, type %2").arg(number).arg(type);
    return text.left(plus);
}

QString TypeName(uint8_t type) {
    const QString place = ItemPlace(type, 0);
    if (place.startsWith("item ")) return QString("type %1").arg(type);
    return place.left(place.lastIndexOf(' '));
}

std::optional<uint16_t> ResolveAddress(const QString& text) {
    std::optional<Breakpoint> point = Breakpoint::Parse(text);
    if (!point) return std::nullopt;
    // A breakpoint on an item stops at its first tag; going to one shows its
    // header too.
    if (!point->address && !text.contains('+')) point->offset = 0;
    return point->Resolve();
}

const services::ChainItem* ItemAt(const std::vector<services::ChainItem>& items, uint16_t address) {
    auto after = std::upper_bound(
        items.begin(), items.end(), address,
        [](uint16_t a, const services::ChainItem& item) { return a < item.address; });
    if (after == items.begin()) return nullptr;
    const services::ChainItem& item = *(after - 1);
    return uint32_t{address} < uint32_t{item.address} + item.length ? &item : nullptr;
}

QString Disassembly(const services::ChainItem& item) {
    const uint32_t end =
        std::min<uint32_t>(uint32_t{item.address} + item.length, lcdm::kModuleMemorySize);
    const std::vector<uint8_t> bytes(lcdm::Memory.ModuleMemory + item.address,
                                     lcdm::Memory.ModuleMemory + end);
    QString text = QString::fromStdString(
        zorasm::Disassemble(bytes, item.address, ItemPlace(item.type, item.number).toStdString()));
    // The comment that opens a disassembled file (where its bytes came from,
    // how to assemble it again) says nothing the view does not show.
    while (text.startsWith(';')) text.remove(0, text.indexOf('\n') + 1);
    return text.trimmed() + "\n";
}

QString DefaultItemName(const services::ChainItem& item) {
    if (!InDefaultImage(item)) return {};
    const auto found = Names().items.find({item.type, item.number});
    return found == Names().items.end() ? QString() : found->second;
}

std::vector<QString> DefaultIconNames(const services::ChainItem& item) {
    if (item.type != lcdm::kItemIconSet || !InDefaultImage(item)) return {};
    return Names().icons;
}

}  // namespace zorsim
