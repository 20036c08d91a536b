#include "windows/dialogs/key_assignment_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <utility>

#include "output/key_names.h"
#include "settings/ini_file.h"
#include "windows/problem_box.h"
#include "windows/twips.h"

namespace vantrel {
namespace {

struct Row {
    const char* caption;
    const char* box;  // also the settings key; its caption is named after it
};

constexpr Row kRows[9] = {{"gear 1", "key1"}, {"gear 2", "key2"}, {"gear3", "key3"},
                          {"gear4", "key4"},  {"gear5", "key5"},  {"gear6", "key6"},
                          {"gear7", "key7"},  {"gear8", "key8"},  {"GearR", "keyr"}};

constexpr int kRowTop = 120;
constexpr int kRowPitch = 360;

const QString kUnknownTip = QStringLiteral("Unknown key name: no key will be sent");

QStringList KeyItems() {
    QStringList items;
    for (char c = 'a'; c <= 'z'; ++c) items << QString(QChar(c));
    for (char c = '1'; c <= '9'; ++c) items << QString(QChar(c));
    items << QStringLiteral("0");
    return items;
}

}  // namespace

KeyAssignmentDialog::KeyAssignmentDialog(const ShiftState& keysInUse,
                                         std::filesystem::path settingsFile, QWidget* parent)
    : QWidget(parent, Qt::Window), settingsFile_(std::move(settingsFile)) {
    using ui::TwipsRect;
    setObjectName(QStringLiteral("keyAssignmentDialog"));
    setWindowTitle(QStringLiteral("Config"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ui::Px(2595), ui::Px(3945));

    const QStringList items = KeyItems();
    for (int i = 0; i < 9; ++i) {
        const int top = kRowTop + i * kRowPitch;
        auto* label = new QLabel(QString::fromLatin1(kRows[i].caption), this);
        label->setObjectName(QString::fromLatin1(kRows[i].box) + QStringLiteral("Caption"));
        label->setGeometry(TwipsRect(120, top, 615, 255));

        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(kRows[i].box));
        box->setGeometry(TwipsRect(1080, top, 1455, 315));
        box->setEditable(true);
        box->addItems(items);
        // Typed text stays as typed: not added to the list, and "Q" is not turned into "q".
        box->setInsertPolicy(QComboBox::NoInsert);
        box->completer()->setCaseSensitivity(Qt::CaseSensitive);
        boxes_[i] = box;

        unknownMarks_[i] = box->lineEdit()->addAction(
            style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
        unknownMarks_[i]->setToolTip(kUnknownTip);
        unknownMarks_[i]->setVisible(false);
        connect(box, &QComboBox::editTextChanged, this, [this, i] { MarkIfUnknown(i); });
    }

    auto* save = new QPushButton(QStringLiteral("save settings"), this);
    save->setObjectName(QStringLiteral("save"));
    save->setGeometry(TwipsRect(1200, 3480, 1215, 375));
    connect(save, &QPushButton::clicked, this, &KeyAssignmentDialog::Save);

    for (int i = 0; i < 7; ++i) setTabOrder(boxes_[i], boxes_[i + 1]);
    setTabOrder(boxes_[7], save);
    setTabOrder(save, boxes_[8]);

    ShowKeys(keysInUse);
}

void KeyAssignmentDialog::ShowKeys(const ShiftState& keysInUse) {
    for (int i = 0; i < 9; ++i) {
        // The key in use is shown whether or not it is one of the items; no item is selected.
        boxes_[i]->setCurrentIndex(-1);
        boxes_[i]->setEditText(QString::fromStdString(GearKey(keysInUse, i + 1).name));
        MarkIfUnknown(i);
    }
}

void KeyAssignmentDialog::MarkIfUnknown(int row) {
    // The file reader trims blanks, so judge the name the engine will get.
    const std::string name = boxes_[row]->currentText().trimmed().toStdString();
    const bool unknown = !name.empty() && !IsKnownKeyName(name);
    unknownMarks_[row]->setVisible(unknown);
    boxes_[row]->setToolTip(unknown ? kUnknownTip : QString());
}

void KeyAssignmentDialog::Save() {
    // Written as typed, without validation: empty, several characters or unknown are all kept.
    std::vector<std::pair<std::string, std::string>> values;
    for (int i = 0; i < 9; ++i) {
        values.emplace_back(kRows[i].box, boxes_[i]->currentText().toStdString());
    }
    const IniWriteResult result = IniWriteAll(settingsFile_, "keyconfig", values);
    if (!result.ok) {
        ui::ShowProblem(this,
                        QStringLiteral("The keys were not saved. Your choices are still in "
                                       "this window; save again once the file is writable."),
                        result.error);
        return;
    }
    hide();
    emit saved();
}

}  // namespace vantrel
