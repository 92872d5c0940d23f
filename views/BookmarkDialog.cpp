#include "views/BookmarkDialog.h"

#include "views/TextListView.h"

#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LanguageText(const std::optional<LanguagePair>& language)
{
    if (!language || language->primary < 0)
        return Q(msg::SourceTextColumn);
    const auto name = LanguageDisplayName(language->primary, language->sub);
    return name ? Q(*name) : QString::number(LangIdOf(language->primary, language->sub));
}

}  // namespace

std::optional<BookmarkItem> TextTableBookmarkItem(const CTextListView& view)
{
    const TextTableRow* row = view.selectedRow();
    if (!row)
        return std::nullopt;
    BookmarkItem item;
    item.window = std::string(kBookmarkText);
    item.lineIndex = row->lineIndex;
    item.category = row->category;
    item.resource = row->resourceIdent;
    item.itemId = row->idText;
    const auto language = view.currentLanguage(true);
    if (language && language->primary >= 0)
        item.language = language;
    return item;
}

CBookmarkDialog::CBookmarkDialog(CProjectDatabase& project, const BookmarkItem& item, QWidget* parent)
    : QDialog(parent), project_(project), item_(item)
{
    setWindowTitle(Q(msg::BookmarkTitle));
    auto* grid = new QGridLayout(this);
    name_ = new QLineEdit(this);
    list_ = new QListWidget(this);
    auto* nameLabel = new QLabel(Q(msg::BookmarkNameLabel), this);
    nameLabel->setBuddy(name_);
    auto* listLabel = new QLabel(Q(msg::BookmarkList), this);
    listLabel->setBuddy(list_);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(name_, 1, 0);
    grid->addWidget(listLabel, 2, 0);
    grid->addWidget(list_, 3, 0);

    auto* group = new QGroupBox(Q(msg::BookmarkResourceGroup), this);
    auto* groupLayout = new QVBoxLayout(group);
    const std::string_view type = ItemTypeName(item.category);
    resource_ = new QLabel(Q(msg::Format(msg::BookmarkResourceLine, {item.resource, type, item.itemId})), group);
    language_ = new QLabel(Q(msg::Format(msg::BookmarkLanguageLine, {LanguageText(item.language).toStdString()})),
                           group);
    groupLayout->addWidget(resource_);
    groupLayout->addWidget(language_);
    grid->addWidget(group, 4, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto make = [&](std::string_view text) {
        auto* b = new QPushButton(Q(text), this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    add_ = make(msg::BookmarkAdd);
    delete_ = make(msg::BookmarkDelete);
    goTo_ = make(msg::BookmarkGoTo);
    QPushButton* close = make(msg::BookmarkClose);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 1, 4, 1);

    connect(add_, &QPushButton::clicked, this, &CBookmarkDialog::add);
    connect(delete_, &QPushButton::clicked, this, &CBookmarkDialog::removeSelected);
    connect(goTo_, &QPushButton::clicked, this, &CBookmarkDialog::goTo);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CBookmarkDialog::goTo);
    connect(list_, &QListWidget::currentRowChanged, this, &CBookmarkDialog::updateButtons);
    connect(name_, &QLineEdit::textChanged, this, &CBookmarkDialog::updateButtons);
    // Enter adds while a name is typed and goes to the chosen bookmark in the list.
    connect(name_, &QLineEdit::returnPressed, this, &CBookmarkDialog::add);
    fill(0);
    name_->setFocus();
}

void CBookmarkDialog::fill(std::int64_t selectId)
{
    list_->clear();
    try {
        for (const BookmarkName& b : ListBookmarks(project_)) {
            auto* entry = new QListWidgetItem(Q(b.name), list_);
            entry->setData(Qt::UserRole, QVariant::fromValue<qint64>(b.id));
            if (b.id == selectId)
                list_->setCurrentItem(entry);
        }
    } catch (const sql::Error& error) {
        emit message(Q(DatabaseErrorMessage(error)));
    }
    if (!list_->currentItem() && list_->count() > 0)
        list_->setCurrentRow(0);
    updateButtons();
}

void CBookmarkDialog::updateButtons()
{
    add_->setEnabled(item_.lineIndex >= 0);
    delete_->setEnabled(list_->currentItem() != nullptr);
    goTo_->setEnabled(list_->currentItem() != nullptr);
    goTo_->setDefault(list_->currentItem() != nullptr && name_->text().isEmpty());
}

std::int64_t CBookmarkDialog::selectedId() const
{
    const QListWidgetItem* entry = list_->currentItem();
    return entry ? entry->data(Qt::UserRole).toLongLong() : 0;
}

void CBookmarkDialog::add()
{
    if (item_.lineIndex < 0)
        return;
    try {
        const std::int64_t id =
            AddBookmark(project_, name_->text().toStdString(), item_.lineIndex, item_.window, item_.language);
        name_->clear();
        fill(id);
    } catch (const sql::Error& error) {
        emit message(Q(DatabaseErrorMessage(error)));
    }
}

void CBookmarkDialog::removeSelected()
{
    const std::int64_t id = selectedId();
    if (id == 0)
        return;
    const int row = list_->currentRow();
    try {
        DeleteBookmark(project_, id);
    } catch (const sql::Error& error) {
        emit message(Q(DatabaseErrorMessage(error)));
    }
    fill(0);
    if (list_->count() > 0)
        list_->setCurrentRow(std::min(row, list_->count() - 1));
}

void CBookmarkDialog::goTo()
{
    const std::int64_t id = selectedId();
    if (id == 0)
        return;
    try {
        chosen_ = ReadBookmark(project_, id);
    } catch (const sql::Error& error) {
        emit message(Q(DatabaseErrorMessage(error)));
        return;
    }
    if (chosen_)
        accept();
}

std::string GoToInTextTable(CTextListView& view, const BookmarkTarget& target)
{
    if (view.rowOfLine(target.lineIndex) < 0)
        return std::string(msg::BookmarkNotVisible);
    if (target.language)
        view.selectLanguage(target.language->primary, target.language->sub);
    else
        view.selectLanguage(-1, -1);
    view.selectLine(target.lineIndex);
    return {};
}

}  // namespace qln
