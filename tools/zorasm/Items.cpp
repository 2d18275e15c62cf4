// Item directives: operands, the head bytes each kind writes (string, picture,
// font, icon set), the fit to a LENGTH, and the listing lines.
#include "Items.h"

#include <optional>

#include "Body.h"
#include "pixelart/nibbles.h"

namespace zorasm {

namespace {

constexpr uint32_t kMaxItemLength = 0xFFFE;  // 0xFFFF is the end marker
constexpr uint32_t kFontHeaderSize = 9;
const std::string kPadding = "NOP padding";

struct Form {
    const char* name;
    int type;      // -1: given as an operand
    size_t fixed;  // operands before the optional LENGTH
    const char* usage;
};

const Form kForms[] = {
    {".header", 0, 1, ".header ID"},
    {".procedure", 1, 1, ".procedure N [, LENGTH]"},
    {".bitmap", 2, 2, ".bitmap N, \"FILE\" [, LENGTH]"},
    {".font", 3, 2, ".font N, \"FILE\" [, LENGTH]"},
    {".string", 4, 2, ".string N, \"TEXT\" [, LENGTH]"},
    {".script", 5, 1, ".script N [, LENGTH]"},
    {".iconset", 7, 3, ".iconset N, LANGUAGE, \"FILE\" [, LENGTH]"},
    {".item", -1, 2, ".item N, TYPE [, LENGTH]"},
};

const Form* FindForm(const std::string& name) {
    for (const Form& form : kForms)
        if (name == form.name) return &form;
    return nullptr;
}

std::string Quoted(const Statement& directive, size_t index, const Form& form) {
    const Operand& operand = directive.operands[index];
    if (operand.kind != Operand::Kind::kString)
        Fail(At(directive.position, operand.column),
             std::string(form.name) + ": expected a string in double quotes, found " +
                 operand.source + " (" + form.usage + ")");
    return operand.text;
}

class ItemBuilder {
public:
    ItemBuilder(const Statement& directive, std::vector<const Statement*> body, uint32_t address,
                ItemContext& context)
        : directive_(directive),
          at_(directive.position),
          statements_(std::move(body)),
          address_(address),
          context_(context) {
        block_.kind = Block::Kind::kItem;
        block_.address = address;
        block_.position = at_;
        block_.directive = directive.name;
    }

    Block Build() {
        try {
            ReadOperands();
            Contents();
        } catch (const pixelart::Error& error) {
            context_.diagnostics.Add(error);
            Failed();
        } catch (const AlreadyReported&) {
            Failed();
        }
        return std::move(block_);
    }

private:
    // What the directive's operands say: number, type and length.
    void ReadOperands() {
        form_ = FindForm(directive_.name);
        if (!directive_.label.empty())
            Fail(At(at_, directive_.labelColumn),
                 "a label cannot stand on an item directive (put it on the line below)");
        const size_t count = directive_.operands.size();
        const bool lengthAllowed = directive_.name != ".header";
        if (count < form_->fixed || count > form_->fixed + (lengthAllowed ? 1 : 0))
            Fail(at_, std::string("expected ") + form_->usage + ", found " + std::to_string(count) +
                          " operand" + (count == 1 ? "" : "s"));
        const std::string what = directive_.name == ".header" ? ".header id" : "item number";
        block_.number = static_cast<int>(Number(0, what, 0, 255));
        block_.type =
            form_->type >= 0 ? form_->type : static_cast<int>(Number(1, "item type", 0, 255));
        if (count > form_->fixed) length_ = Length(directive_.operands[form_->fixed]);
        block_.room = length_;
    }

    long Number(size_t index, const std::string& what, long min, long max) const {
        return EvaluateIn(directive_.operands[index], context_.constants, nullptr, at_, what, min,
                          max);
    }

    uint32_t Length(const Operand& operand) const {
        const long value = Evaluate(Plain(operand), context_.constants, nullptr, at_, "LENGTH");
        const long length = operand.to ? value - static_cast<long>(address_) : value;
        const Position at = At(at_, operand.column);
        if (operand.to && length < static_cast<long>(kItemHeaderSize))
            Fail(at, "LENGTH " + operand.source + ": the item starts at " +
                         std::to_string(address_) + ", which leaves it " + std::to_string(length) +
                         " bytes (at least 4 are needed)");
        if (length < static_cast<long>(kItemHeaderSize) || length > kMaxItemLength)
            Fail(at, "LENGTH " + operand.source + " is out of range (expected 4 to " +
                         std::to_string(kMaxItemLength) + ")");
        return static_cast<uint32_t>(length);
    }

    static Operand Plain(Operand operand) {
        operand.to = false;
        return operand;
    }

    bool Program() const { return directive_.name == ".procedure" || directive_.name == ".script"; }

    // Head (the directive's own bytes), body, and the part that fits the length.
    void Contents() {
        const std::string where = directive_.name.substr(1) + " " + std::to_string(block_.number);
        Body body(statements_, Program(), "the " + where + " item", context_.constants,
                  context_.diagnostics);
        const uint32_t bodySize = body.Size();
        std::vector<uint8_t> head = Head(bodySize);
        const uint32_t natural = static_cast<uint32_t>(kItemHeaderSize + head.size()) + bodySize;
        if (natural > kMaxItemLength)
            Fail(at_, where + " is " + std::to_string(natural) +
                          " bytes long, more than an item "
                          "can be (" +
                          std::to_string(kMaxItemLength) + ")");
        uint32_t padding = 0;
        if (length_ && Program()) {
            if (natural > *length_)
                Fail(at_, where + " does not fit: it needs " + std::to_string(natural) +
                              " bytes and has " + std::to_string(*length_));
            padding = *length_ - natural;
        } else if (length_ && natural != *length_) {
            Fail(at_, where + " is " + std::to_string(natural) + " bytes long, its LENGTH is " +
                          std::to_string(*length_) + FixedNote());
        }
        block_.length = natural + padding;
        if (block_.used == 0) block_.used = natural;
        Emit(head, body, padding);
    }

    std::string FixedNote() const {
        if (directive_.name == ".bitmap")
            return " (a raw bitmap is as long as its rows; only coded ones take a chosen length)";
        return " (only programs, coded bitmaps and fonts are fitted to a length)";
    }

    std::vector<uint8_t> Head(uint32_t bodySize) {
        const std::string& name = directive_.name;
        if (name == ".header" && bodySize != 0)
            Fail(at_, "the header item holds nothing but its 4 bytes (use .item N, 0 for more)");
        if (name == ".string") {
            const std::string text = Quoted(directive_, 1, *form_);
            std::vector<uint8_t> bytes(text.begin(), text.end());
            bytes.push_back(0);
            return bytes;
        }
        if (name == ".bitmap") return Bitmap(bodySize);
        if (name == ".font") return Font(bodySize);
        if (name == ".iconset") return IconSet();
        return {};
    }

    std::vector<uint8_t> Bitmap(uint32_t bodySize) {
        const std::string path = RelativeTo(at_.file, Quoted(directive_, 1, *form_));
        const pixelart::PictureSet& set = context_.art.Pictures(path, at_);
        const pixelart::BitmapSource* bitmap = set.FindBitmap(block_.number);
        if (bitmap == nullptr)
            Fail(at_, path + " has no picture 'bitmap " + std::to_string(block_.number) + "'");
        const pixelart::Picture& picture = bitmap->picture;
        if (bitmap->compression == 0) {
            std::vector<uint8_t> bytes =
                pixelart::ImageHeader(0, pixelart::RawRows(picture).size(), picture);
            const std::vector<uint8_t> rows = pixelart::RawRows(picture);
            bytes.insert(bytes.end(), rows.begin(), rows.end());
            return bytes;
        }
        const pixelart::NibbleCoder coder(pixelart::PictureNibbles(picture),
                                          pixelart::RowBytes(picture.width) * 2,
                                          bitmap->compression);
        const uint32_t fixed =
            static_cast<uint32_t>(kItemHeaderSize + pixelart::kImageHeaderSize) + bodySize;
        block_.used = fixed + static_cast<uint32_t>(coder.Shortest());
        size_t coded = coder.Shortest();
        if (length_) {
            const std::string what = "bitmap " + std::to_string(block_.number) + " (" + path +
                                     " line " + std::to_string(bitmap->line) + ", compression " +
                                     std::to_string(bitmap->compression) + ", " +
                                     std::to_string(picture.width) + " x " +
                                     std::to_string(picture.height()) + ")";
            const long wanted = static_cast<long>(*length_) - static_cast<long>(fixed);
            if (wanted < static_cast<long>(coder.Shortest()) ||
                wanted > static_cast<long>(coder.Longest()))
                Fail(at_, what + " cannot be coded in " + std::to_string(wanted) +
                              " bytes: its codings take " + std::to_string(coder.Shortest()) +
                              " to " + std::to_string(coder.Longest()) + " bytes");
            if (!coder.Reachable(static_cast<size_t>(wanted)))
                Fail(at_, what + " has no coding of exactly " + std::to_string(wanted) +
                              " bytes, though its codings take " +
                              std::to_string(coder.Shortest()) + " to " +
                              std::to_string(coder.Longest()) + " bytes");
            coded = static_cast<size_t>(wanted);
        }
        const std::vector<uint8_t> codes = coder.Code(coded);
        std::vector<uint8_t> bytes =
            pixelart::ImageHeader(bitmap->compression, codes.size(), picture);
        bytes.insert(bytes.end(), codes.begin(), codes.end());
        return bytes;
    }

    std::vector<uint8_t> Font(uint32_t bodySize) {
        const std::string path = RelativeTo(at_.file, Quoted(directive_, 1, *form_));
        const pixelart::FontSource& font = context_.art.Font(path, at_);
        std::optional<size_t> table;
        if (length_) {
            const long size =
                static_cast<long>(*length_) - static_cast<long>(kItemHeaderSize + bodySize);
            if (size < static_cast<long>(kFontHeaderSize))
                Fail(at_, "font " + std::to_string(block_.number) + ": LENGTH " +
                              std::to_string(*length_) + " leaves " + std::to_string(size) +
                              " bytes for the font table after the " + std::to_string(bodySize) +
                              " bytes of data");
            table = static_cast<size_t>(size);
        }
        try {
            const size_t tight = pixelart::EncodeFont(font).bytes.size();
            block_.used = static_cast<uint32_t>(kItemHeaderSize + tight) + bodySize;
            return pixelart::EncodeFont(font, table).bytes;
        } catch (const pixelart::Error& error) {
            Fail(at_, "font " + std::to_string(block_.number) + " cannot fill a " +
                          std::to_string(table.value_or(0)) + "-byte table: " + error.what());
        }
    }

    std::vector<uint8_t> IconSet() {
        const long language = Number(1, "icon set language", 0, 255);
        const std::string path = RelativeTo(at_.file, Quoted(directive_, 2, *form_));
        const pixelart::PictureSet& set = context_.art.Pictures(path, at_);
        if (set.icons.empty()) Fail(at_, path + " holds no 'icon' pictures");
        std::vector<uint8_t> bytes{0, static_cast<uint8_t>(language)};
        for (const pixelart::IconSource& icon : set.icons) {
            const std::vector<uint8_t> record = pixelart::EncodeIcon(icon);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        return bytes;
    }

    void Emit(const std::vector<uint8_t>& head, Body& body, uint32_t padding) {
        ListingLine line{address_, {}, at_, directive_.text};
        line.bytes = {static_cast<uint8_t>(block_.length >> 8),
                      static_cast<uint8_t>(block_.length & 0xFF),
                      static_cast<uint8_t>(block_.number), static_cast<uint8_t>(block_.type)};
        line.bytes.insert(line.bytes.end(), head.begin(), head.end());
        block_.lines.push_back(std::move(line));
        const uint32_t bodyAddress =
            address_ + static_cast<uint32_t>(kItemHeaderSize + head.size());
        for (ListingLine& bodyLine : body.Encode(bodyAddress))
            block_.lines.push_back(std::move(bodyLine));
        if (padding > 0)
            block_.lines.push_back(ListingLine{address_ + block_.length - padding,
                                               std::vector<uint8_t>(padding, kNop),
                                               Position{at_.file, 0}, kPadding});
    }

    // A failed item keeps the length it was given (as zeros), or none.
    void Failed() {
        block_.lines.clear();
        block_.length = length_.value_or(0);
        block_.used = 0;
        if (block_.length > 0)
            block_.lines.push_back(ListingLine{address_, std::vector<uint8_t>(block_.length, 0),
                                               at_, directive_.text});
    }

    const Statement& directive_;
    const Position& at_;
    std::vector<const Statement*> statements_;
    uint32_t address_;
    ItemContext& context_;
    const Form* form_ = nullptr;
    std::optional<uint32_t> length_;
    Block block_;
};

}  // namespace

bool IsItemDirective(const std::string& name) {
    return FindForm(name) != nullptr;
}

std::vector<std::string> DirectiveNames() {
    std::vector<std::string> names = {".at",   ".end",  ".data", ".equ",    ".include",
                                      ".byte", ".word", ".text", ".repeat", ".entry"};
    for (const Form& form : kForms) names.push_back(form.name);
    return names;
}

Block BuildItem(const Statement& directive, std::vector<const Statement*> body, uint32_t address,
                ItemContext& context) {
    return ItemBuilder(directive, std::move(body), address, context).Build();
}

}  // namespace zorasm
