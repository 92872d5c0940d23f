#include "views/BlockHeaderDialog.h"

#include "project/TextForms.h"
#include "projectdb/Languages.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

namespace qln {

namespace {
QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

CBlockHeaderDialog::CBlockHeaderDialog(const std::string& value, QWidget* parent)
    : QDialog(parent), language_(new QComboBox(this)), codePage_(new QComboBox(this)), name_(new QLabel(this))
{
    setWindowTitle(Q(msg::BlockHeaderTitle));
    const auto parts = SplitBlockHeader(value);
    for (const LanguageEntry& entry : LanguageTable()) {
        language_->addItem(Q(entry.displayName), entry.primary + 1024 * entry.sub);
        if (parts && parts->primary == entry.primary && parts->sub == entry.sub)
            language_->setCurrentIndex(language_->count() - 1);
    }
    for (const CodePageListEntry& entry : CodePageList()) {
        codePage_->addItem(Q(CodePageDisplay(entry.number)), entry.number);
        if (parts && parts->codePage == entry.number)
            codePage_->setCurrentIndex(codePage_->count() - 1);
    }
    if (parts && codePage_->findData(parts->codePage) < 0) {
        codePage_->addItem(QString::number(parts->codePage), parts->codePage);
        codePage_->setCurrentIndex(codePage_->count() - 1);
    }
    auto* form = new QFormLayout(this);
    form->addRow(Q(msg::BlockHeaderLanguage), language_);
    form->addRow(Q(msg::BlockHeaderCodePage), codePage_);
    form->addRow(Q(msg::BlockHeaderName), name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(language_, &QComboBox::currentIndexChanged, this, &CBlockHeaderDialog::updateName);
    connect(codePage_, &QComboBox::currentIndexChanged, this, &CBlockHeaderDialog::updateName);
    updateName();
}

std::string CBlockHeaderDialog::blockName() const
{
    const int langId = language_->currentData().toInt();
    return BlockHeaderName(langId & 0x3FF, langId >> 10, codePage_->currentData().toInt());
}

void CBlockHeaderDialog::updateName()
{
    name_->setText(Q(blockName()));
}

}  // namespace qln
