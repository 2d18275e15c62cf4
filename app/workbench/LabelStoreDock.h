// The label store decoded: the settings record, the 28 key records with
// every label (language, text or icon id, length), the 16 dynamic icon slots
// and the two logos drawn as the module draws them, the language lists and
// font classes; and on demand all 8192 bytes in hex.
#pragma once

#include <array>
#include <vector>

#include "ModulePictures.h"
#include "ToolDock.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;

namespace zorsim {

class Workbench;

class LabelStoreDock : public ToolDock {
    Q_OBJECT

public:
    enum KeyColumn { kKeyEntry, kKeyLanguage, kKeyKind, kKeyLength, kKeyLabel, kKeyColumns };

    LabelStoreDock(Workbench& bench, QWidget* parent);
    void Refresh() override;

    QLabel* Settings;
    QTreeWidget* Keys;  // a row per key, a child per label
    std::vector<QLabel*> SlotTexts;
    std::vector<QLabel*> SlotImages;
    std::vector<ModulePicture> SlotPictures;  // one pixel per module pixel; null when free
    std::array<QLabel*, 2> LogoTexts;
    std::array<QLabel*, 2> LogoImages;
    std::array<ModulePicture, 2> LogoPictures;
    QLabel* Languages;
    QCheckBox* RawToggle;
    QPlainTextEdit* Raw;

private:
    void ShowKeys();
    void ShowIcons();
    void ShowLogos();
    void ShowLanguages();
    void ShowRaw();

    // What the view was last built from: nothing is built again while it
    // stays the same.
    std::vector<uint8_t> shown_;
};

}  // namespace zorsim
