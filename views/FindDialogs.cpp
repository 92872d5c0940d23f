#include "views/FindDialogs.h"

#include "views/TranslationBar.h"

#include "rcscript/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* HistoryCombo(QWidget* parent, const QStringList& history)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(220);
    combo->addItems(history);
    combo->setCurrentIndex(history.isEmpty() ? -1 : 0);
    combo->lineEdit()->selectAll();
    return combo;
}

// An editable combo box takes Enter for itself; in these dialogs Enter
// presses the default button, with the typed text as it stands.
class EnterPresses : public QObject {
public:
    EnterPresses(QComboBox* combo, QPushButton* button) : QObject(combo), button_(button)
    {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button_->isEnabled()) {
                button_->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton* button_;
};

QPushButton* Button(QWidget* parent, std::string_view text, QVBoxLayout* column)
{
    auto* button = new QPushButton(Q(text), parent);
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

// The text first in the history, once.
QStringList Pushed(QStringList history, const QString& text)
{
    if (text.isEmpty())
        return history;
    history.removeAll(text);
    history.prepend(text);
    while (history.size() > 10)
        history.removeLast();
    return history;
}

}  // namespace

QListWidget* MakeWhereList(QWidget* parent, bool withSource, const QStringList& languages, const QStringList& chosen)
{
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    if (withSource)
        list->addItem(Q(msg::FindSourceEntry));
    list->addItems(languages);
    bool any = false;
    for (int i = 0; i < list->count(); ++i)
        any = any || chosen.contains(list->item(i)->text());
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(!any || chosen.contains(list->item(i)->text()));
    list->setMinimumWidth(150);
    return list;
}

void ReadWhere(const QListWidget& list, bool withSource, FindRequest& request)
{
    request.sourceChosen = false;
    request.languageIndices.clear();
    for (int i = 0; i < list.count(); ++i) {
        if (!list.item(i)->isSelected())
            continue;
        if (withSource && i == 0)
            request.sourceChosen = true;
        else
            request.languageIndices.push_back(withSource ? i - 1 : i);
    }
}

QStringList ChosenEntries(const QListWidget& list)
{
    QStringList chosen;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected())
            chosen << list.item(i)->text();
    return chosen;
}

// --- Find Text ------------------------------------------------------------------------

CFindDialog::CFindDialog(const QStringList& languages, const FindSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(Q(msg::FindTitle));
    auto* grid = new QGridLayout(this);
    where_ = MakeWhereList(this, true, languages, settings.where);
    auto* whereLabel = new QLabel(Q(msg::FindWhere), this);
    whereLabel->setBuddy(where_);
    grid->addWidget(whereLabel, 0, 0);
    grid->addWidget(where_, 1, 0, 5, 1);

    textChoice_ = new QRadioButton(Q(msg::FindWhat), this);
    what_ = HistoryCombo(this, settings.history);
    changed_ = new QRadioButton(Q(msg::FindChangedItems), this);
    matchCase_ = new QCheckBox(Q(msg::FindMatchCase), this);
    wholeWord_ = new QCheckBox(Q(msg::FindWholeWord), this);
    textChoice_->setChecked(true);
    matchCase_->setChecked(settings.options.matchCase);
    wholeWord_->setChecked(settings.options.wholeWord);
    grid->addWidget(textChoice_, 1, 1);
    grid->addWidget(what_, 2, 1);
    grid->addWidget(changed_, 3, 1);
    grid->addWidget(matchCase_, 4, 1);
    grid->addWidget(wholeWord_, 5, 1);
    grid->setRowStretch(6, 1);

    auto* buttons = new QVBoxLayout;
    findNext_ = Button(this, msg::FindNextButton, buttons);
    markAll_ = Button(this, msg::FindMarkAll, buttons);
    QPushButton* cancel = Button(this, msg::FindCancel, buttons);
    buttons->addStretch(1);
    findNext_->setDefault(true);
    grid->addLayout(buttons, 0, 2, 7, 1);

    connect(findNext_, &QPushButton::clicked, this, [this] { finish(Action::FindNext); });
    connect(markAll_, &QPushButton::clicked, this, [this] { finish(Action::MarkAll); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    new EnterPresses(what_, findNext_);
    // Typing a text chooses the text search; the options belong to it.
    connect(what_, &QComboBox::editTextChanged, this, [this] {
        if (what_->hasFocus())
            textChoice_->setChecked(true);
        updateButtons();
    });
    connect(textChoice_, &QRadioButton::toggled, this, &CFindDialog::updateButtons);
    connect(where_, &QListWidget::itemSelectionChanged, this, &CFindDialog::updateButtons);
    what_->setFocus();
    updateButtons();
}

void CFindDialog::updateButtons()
{
    const bool text = textChoice_->isChecked();
    what_->setEnabled(text);
    matchCase_->setEnabled(text);
    wholeWord_->setEnabled(text);
    const bool ready = !ChosenEntries(*where_).isEmpty() && (!text || !what_->currentText().isEmpty());
    findNext_->setEnabled(ready);
    markAll_->setEnabled(ready);
}

FindRequest CFindDialog::request() const
{
    FindRequest request;
    ReadWhere(*where_, true, request);
    request.changedItems = changed_->isChecked();
    request.text = what_->currentText().toStdString();
    request.options = {wholeWord_->isChecked(), matchCase_->isChecked()};
    return request;
}

FindSettings CFindDialog::settings() const
{
    FindSettings out = settings_;
    if (action_ != Action::None) {
        if (textChoice_->isChecked())
            out.history = Pushed(out.history, what_->currentText());
        out.options = {wholeWord_->isChecked(), matchCase_->isChecked()};
        out.where = ChosenEntries(*where_);
    }
    return out;
}

void CFindDialog::finish(Action action)
{
    action_ = action;
    accept();
}

// --- Replace ---------------------------------------------------------------------------

CReplaceDialog::CReplaceDialog(CTextFinder& finder, CTranslationBar& bar, const QStringList& languages,
                               const FindSettings& settings, QWidget* parent)
    : QDialog(parent), finder_(finder), bar_(bar), settings_(settings)
{
    setWindowTitle(Q(msg::ReplaceTitle));
    auto* grid = new QGridLayout(this);
    where_ = MakeWhereList(this, false, languages, settings.where);
    auto* whereLabel = new QLabel(Q(msg::FindWhere), this);
    whereLabel->setBuddy(where_);
    grid->addWidget(whereLabel, 0, 0);
    grid->addWidget(where_, 1, 0, 6, 1);

    find_ = HistoryCombo(this, settings.history);
    replace_ = HistoryCombo(this, settings.replaceHistory);
    auto* findLabel = new QLabel(Q(msg::ReplaceFindWhat), this);
    findLabel->setBuddy(find_);
    auto* replaceLabel = new QLabel(Q(msg::ReplaceWith), this);
    replaceLabel->setBuddy(replace_);
    matchCase_ = new QCheckBox(Q(msg::FindMatchCase), this);
    wholeWord_ = new QCheckBox(Q(msg::FindWholeWord), this);
    matchCase_->setChecked(settings.options.matchCase);
    wholeWord_->setChecked(settings.options.wholeWord);
    grid->addWidget(findLabel, 1, 1);
    grid->addWidget(find_, 2, 1);
    grid->addWidget(replaceLabel, 3, 1);
    grid->addWidget(replace_, 4, 1);
    grid->addWidget(matchCase_, 5, 1);
    grid->addWidget(wholeWord_, 6, 1);
    grid->setRowStretch(7, 1);

    auto* buttons = new QVBoxLayout;
    findNext_ = Button(this, msg::ReplaceFindNext, buttons);
    replaceButton_ = Button(this, msg::ReplaceButton, buttons);
    replaceAll_ = Button(this, msg::ReplaceAllButton, buttons);
    QPushButton* cancel = Button(this, msg::FindCancel, buttons);
    buttons->addStretch(1);
    findNext_->setDefault(true);
    grid->addLayout(buttons, 0, 2, 8, 1);

    connect(findNext_, &QPushButton::clicked, this, &CReplaceDialog::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &CReplaceDialog::replace);
    connect(replaceAll_, &QPushButton::clicked, this, &CReplaceDialog::replaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto update = [this] {
        const bool ready = !ChosenEntries(*where_).isEmpty() && !find_->currentText().isEmpty();
        findNext_->setEnabled(ready);
        replaceButton_->setEnabled(ready);
        replaceAll_->setEnabled(ready);
    };
    connect(find_, &QComboBox::editTextChanged, this, update);
    for (QComboBox* combo : {find_, replace_})
        new EnterPresses(combo, findNext_);
    connect(where_, &QListWidget::itemSelectionChanged, this, update);
    find_->setFocus();
    update();
}

FindRequest CReplaceDialog::request() const
{
    FindRequest request;
    ReadWhere(*where_, false, request);
    request.text = find_->currentText().toStdString();
    request.options = {wholeWord_->isChecked(), matchCase_->isChecked()};
    return request;
}

std::string CReplaceDialog::replacement() const
{
    return replace_->currentText().toStdString();
}

void CReplaceDialog::remember()
{
    searched_ = true;
    settings_.options = {wholeWord_->isChecked(), matchCase_->isChecked()};
    settings_.where = ChosenEntries(*where_);
}

void CReplaceDialog::findNext()
{
    remember();
    finder_.replaceFindNext(request(), bar_);
}

void CReplaceDialog::replace()
{
    remember();
    finder_.replace(request(), replacement(), bar_);
}

void CReplaceDialog::replaceAll()
{
    remember();
    finder_.replaceAll(request(), replacement(), bar_);
}

FindSettings CReplaceDialog::settings() const
{
    FindSettings out = settings_;
    if (searched_) {
        out.history = Pushed(out.history, find_->currentText());
        out.replaceHistory = Pushed(out.replaceHistory, replace_->currentText());
    }
    return out;
}

}  // namespace qln
