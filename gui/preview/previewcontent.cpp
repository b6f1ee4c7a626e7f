// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "preview/previewcontent.h"

#include "theme/semanticvariants.h"
#include "ui_previewcontent.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionGroupBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVector>

namespace {

constexpr int kIconSetCount = 3;
constexpr int kSemanticEditorHeight = 58;

void setVariant(QWidget *widget, const char *key)
{
    widget->setProperty(kVariantProperty, QString::fromLatin1(key));
}

QString customIcon(const char *name)
{
    return QStringLiteral(":/icons/icons/custom/%1.svg").arg(QLatin1String(name));
}

} // namespace

// Column widths and group box minimum widths depend on the font and padding a theme's
// sheet gives each widget, which reach it only when the theme is polished in (and not
// before the first show). One restyle sends each view, its header and viewport, and each
// group box several style and font changes, so these only mark the view or box stale.
// It is fitted once, by one pass posted behind them (ahead of the paint, which is
// posted at a lower priority), or when it is shown before that pass has run.
class PreviewContent::ContentFitter : public QObject
{
public:
    using QObject::QObject;

    // The header's and the viewport's polish come after the view's own, and the header's
    // font decides its section hints, so their changes make the view stale too.
    void watchView(QAbstractItemView *view, QHeaderView *header)
    {
        watch(view, {view, header, view->viewport()});
    }
    void watchGroupBox(QGroupBox *box) { watch(box, {box}); }

    int fitCount(const QWidget *widget) const
    {
        const int index = targetOf.value(widget, -1);
        return index >= 0 && targets.at(index).widget == widget ? targets.at(index).fits : 0;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::StyleChange:
        case QEvent::FontChange:
            markStale(targets[targetOf.value(watched)]);
            break;
        case QEvent::Show: {
            // Only the view's own show: a later one keeps widths a user may have dragged.
            Target &target = targets[targetOf.value(watched)];
            if (target.stale && target.widget == watched)
                fit(target);
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    struct Target
    {
        QWidget *widget;
        bool stale;
        int fits;
    };

    void watch(QWidget *target, std::initializer_list<QWidget *> sources)
    {
        targets.append({target, true, 0});
        for (QWidget *source : sources) {
            targetOf.insert(source, targets.size() - 1);
            source->installEventFilter(this);
        }
    }

    void markStale(Target &target)
    {
        target.stale = true;
        if (!passPosted) {
            passPosted = true;
            QMetaObject::invokeMethod(this, &ContentFitter::fitStale, Qt::QueuedConnection);
        }
    }

    void fitStale()
    {
        passPosted = false;
        // One not yet polished has no theme to fit to; its polish marks it stale again.
        for (Target &target : targets) {
            if (target.stale && target.widget->testAttribute(Qt::WA_WState_Polished))
                fit(target);
        }
    }

    static void fit(Target &target)
    {
        if (auto *box = qobject_cast<QGroupBox *>(target.widget))
            fitTitle(box);
        else
            fitColumns(static_cast<QAbstractItemView *>(target.widget));
        target.stale = false;
        ++target.fits;
    }

    static void fitColumns(QAbstractItemView *view)
    {
        const auto fit = [](auto *itemView, const QHeaderView *header) {
            // A stretching last column takes the rest of the width anyway.
            const int fitted = header->count() - (header->stretchLastSection() ? 1 : 0);
            for (int column = 0; column < fitted; ++column)
                itemView->resizeColumnToContents(column);
        };
        if (auto *table = qobject_cast<QTableView *>(view))
            fit(table, table->horizontalHeader());
        else if (auto *tree = qobject_cast<QTreeView *>(view))
            fit(tree, tree->header());
    }

    // The box is at least as wide as its title where the current style puts it, with
    // the title's inset from the left edge kept clear on the right as well.
    static void fitTitle(QGroupBox *box)
    {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (box->isCheckable())
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
        if (box->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        // The style places the label visually; measured from the leading edge it is the
        // same in either direction (right to left, its right edge is the box's width).
        const QRect label =
            QStyle::visualRect(option.direction, option.rect,
                               box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                            QStyle::SC_GroupBoxLabel, box));
        const int titleWidth =
            box->title().isEmpty() ? 0 : label.right() + 1 + qMax(0, label.left());
        box->setMinimumWidth(qMax(box->minimumSizeHint().width(), titleWidth));
    }

    QVector<Target> targets;
    QHash<const QObject *, int> targetOf;
    bool passPosted = false;
};

PreviewContent::PreviewContent(QWidget *parent)
    : QWidget(parent)
    , iconSetIndex(0)
    , ui(new Ui::PreviewContent)
    , fitter(new ContentFitter(this))
{
    ui->setupUi(this);
    populatePreviewData();
    buildSemanticSections();

    fitter->watchView(ui->overviewTableWidget, ui->overviewTableWidget->horizontalHeader());
    fitter->watchView(ui->tableWidget, ui->tableWidget->horizontalHeader());
    fitter->watchView(ui->overviewTreeWidget, ui->overviewTreeWidget->header());
    fitter->watchView(ui->treeWidget, ui->treeWidget->header());
    const auto boxes = findChildren<QGroupBox *>();
    for (QGroupBox *box : boxes)
        fitter->watchGroupBox(box);

    connect(ui->disablePreviewCheckBox, &QCheckBox::toggled, ui->componentTabWidget,
            &QWidget::setDisabled);
    connect(ui->overviewHorizontalSlider, &QSlider::valueChanged, ui->overviewProgressBar,
            &QProgressBar::setValue);
    // The two pairs below feed each other; the loop ends because valueChanged fires
    // only on a real change.
    connect(ui->overviewDial, &QDial::valueChanged, ui->overviewSpinBox, &QSpinBox::setValue);
    connect(ui->overviewSpinBox, qOverload<int>(&QSpinBox::valueChanged), ui->overviewDial,
            &QDial::setValue);
    connect(ui->horizontalSlider, &QSlider::valueChanged, ui->progressBar, &QProgressBar::setValue);
    connect(ui->dial, &QDial::valueChanged, ui->spinBox, &QSpinBox::setValue);
    connect(ui->spinBox, qOverload<int>(&QSpinBox::valueChanged), ui->dial, &QDial::setValue);

    connect(ui->iconCyclePushButton, &QPushButton::clicked, this, [this] {
        iconSetIndex = (iconSetIndex + 1) % kIconSetCount;
        applyIconSet(iconSetIndex);
    });
    connect(ui->errorDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(ErrorDialog); });
    connect(ui->infoDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(InfoDialog); });
    connect(ui->warningDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(WarningDialog); });
    connect(ui->aboutDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(AboutDialog); });
    connect(ui->helpDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(HelpDialog); });
    connect(ui->previewSelectedDialogPushButton, &QPushButton::clicked, this,
            [this] { showDialogPreview(ui->dialogListWidget->currentRow()); });
    // The current row decides, not the item under the pointer.
    connect(ui->dialogListWidget, &QListWidget::itemDoubleClicked, this,
            [this] { showDialogPreview(ui->dialogListWidget->currentRow()); });
}

PreviewContent::~PreviewContent()
{
    delete ui;
}

void PreviewContent::setCurrentStyleName(const QString &styleName)
{
    shownStyleName = styleName;
    ui->statusLabel->setText(tr("Current style: %1").arg(styleName));
}

QString PreviewContent::currentStyleName() const
{
    return shownStyleName;
}

QStringList PreviewContent::tabTitles() const
{
    QStringList titles;
    for (int i = 0; i < ui->componentTabWidget->count(); ++i)
        titles.append(ui->componentTabWidget->tabText(i));
    return titles;
}

void PreviewContent::setCurrentTab(int index)
{
    ui->componentTabWidget->setCurrentIndex(index);
}

QWidget *PreviewContent::tabPage(int index) const
{
    return ui->componentTabWidget->widget(index);
}

int PreviewContent::addTab(QWidget *page, const QString &title)
{
    return ui->componentTabWidget->addTab(page, title);
}

void PreviewContent::setTabTitle(int index, const QString &title)
{
    ui->componentTabWidget->setTabText(index, title);
}

void PreviewContent::onCurrentTabChanged(QObject *context, std::function<void(int)> changed)
{
    connect(ui->componentTabWidget, &QTabWidget::currentChanged, context, std::move(changed));
}

void PreviewContent::setPreviewDisabled(bool disabled)
{
    ui->disablePreviewCheckBox->setChecked(disabled);
}

void PreviewContent::setSampleDateTime(const QDateTime &dateTime)
{
    for (QDateTimeEdit *edit : findChildren<QDateTimeEdit *>())
        edit->setDateTime(dateTime);
}

int PreviewContent::contentFitCount(const QWidget *viewOrGroupBox) const
{
    return fitter->fitCount(viewOrGroupBox);
}

void PreviewContent::populatePreviewData()
{
    const QStringList comboItems{tr("Primary"), tr("Secondary"), tr("Disabled")};
    const QString plainText = tr("Plain text editor\nLine 2\nLine 3");

    const auto fillTable = [](QTableWidget *table) {
        table->setHorizontalHeaderLabels({tr("Name"), tr("State"), tr("Value")});
        const QStringList names{tr("Button"), tr("Input"), tr("Slider")};
        for (int row = 0; row < names.size(); ++row) {
            table->setItem(row, 0, new QTableWidgetItem(names.at(row)));
            table->setItem(row, 1, new QTableWidgetItem(row == 1 ? tr("Focused") : tr("Ready")));
            table->setItem(row, 2, new QTableWidgetItem(QString::number((row + 1) * 24)));
        }
        table->resizeColumnsToContents();
    };
    const auto fillTree = [](QTreeWidget *tree) {
        tree->setHeaderLabels({tr("Component"), tr("Preview")});
        auto *controls = new QTreeWidgetItem(tree, {tr("Controls"), tr("Buttons")});
        new QTreeWidgetItem(controls, {tr("QPushButton"), tr("Normal / Checkable")});
        new QTreeWidgetItem(controls, {tr("QRadioButton"), tr("Exclusive")});
        auto *views = new QTreeWidgetItem(tree, {tr("Views"), tr("Tables")});
        new QTreeWidgetItem(views, {tr("QTableWidget"), tr("Rows and headers")});
        tree->expandAll();
    };
    const QStringList listItems{tr("List item A"), tr("List item B"), tr("List item C")};

    ui->overviewCheckBox->setCheckState(Qt::PartiallyChecked);
    ui->overviewComboBox->addItems(comboItems);
    ui->overviewDateTimeEdit->setDateTime(QDateTime::currentDateTime());
    ui->overviewLcdNumber->display(128);
    ui->overviewPlainTextEdit->setPlainText(plainText);
    ui->overviewTextEdit->setHtml(tr("<b>Rich text editor</b><br/>Overview preview content."));

    ui->partialCheckBox->setCheckState(Qt::PartiallyChecked);
    ui->comboBox->addItems(comboItems);
    ui->dateTimeEdit->setDateTime(QDateTime::currentDateTime());
    ui->lcdNumber->display(128);
    ui->plainTextEdit->setPlainText(plainText);
    ui->textEdit->setHtml(tr("<b>Rich text editor</b><br/>QStyle preview content."));

    fillTable(ui->tableWidget);
    fillTable(ui->overviewTableWidget);
    fillTree(ui->treeWidget);
    ui->listWidget->addItems(listItems);
    fillTree(ui->overviewTreeWidget);
    ui->overviewListWidget->addItems(listItems);

    ui->dialogListWidget->setCurrentRow(0);

    const struct
    {
        QPushButton *button;
        const char *key;
    } formVariants[] = {
        {ui->primaryPushButton, VariantKey::Primary},
        {ui->iconActionPushButton, VariantKey::Primary},
        {ui->iconSecondaryPushButton, VariantKey::Info},
        {ui->checkablePushButton, VariantKey::Success},
        {ui->previewSelectedDialogPushButton, VariantKey::Primary},
        {ui->errorDialogPushButton, VariantKey::Error},
        {ui->infoDialogPushButton, VariantKey::Info},
        {ui->warningDialogPushButton, VariantKey::Warning},
        {ui->aboutDialogPushButton, VariantKey::Default},
        {ui->helpDialogPushButton, VariantKey::Primary},
    };
    for (const auto &entry : formVariants)
        setVariant(entry.button, entry.key);

    applyIconSet(iconSetIndex);
}

void PreviewContent::buildSemanticSections()
{
    const auto newSection = [](const QString &title, QWidget *page) {
        auto *box = new QGroupBox(title, page);
        return std::make_pair(box, new QGridLayout(box));
    };
    const int variantCount = int(std::size(kSemanticVariants));

    {
        const auto [box, grid] = newSection(tr("Semantic Variants"), ui->buttonsTab);
        for (int i = 0; i < variantCount; ++i) {
            const SemanticVariant &variant = kSemanticVariants[i];
            auto *button = new QPushButton(tr(variant.label), box);
            setVariant(button, variant.key);
            grid->addWidget(button, i / 3, i % 3);
        }
        ui->buttonsLayout->addWidget(box, 1, 0, 1, 3);
    }
    {
        const auto [box, grid] = newSection(tr("Semantic Checks"), ui->checksTab);
        for (int i = 0; i < variantCount; ++i) {
            const SemanticVariant &variant = kSemanticVariants[i];
            auto *checkBox = new QCheckBox(tr(variant.label), box);
            checkBox->setChecked(i % 2 == 0);
            setVariant(checkBox, variant.key);
            auto *radioButton = new QRadioButton(tr(variant.label), box);
            radioButton->setAutoExclusive(false);
            radioButton->setChecked(i % 2 == 1);
            setVariant(radioButton, variant.key);
            grid->addWidget(checkBox, i / 3, 2 * (i % 3));
            grid->addWidget(radioButton, i / 3, 2 * (i % 3) + 1);
        }
        ui->checksLayout->addWidget(box, 1, 0, 1, 2);
    }
    {
        const auto [box, grid] = newSection(tr("Semantic Inputs"), ui->inputsTab);
        for (int i = 0; i < variantCount; ++i) {
            const SemanticVariant &variant = kSemanticVariants[i];
            auto *label = new QLabel(tr(variant.label), box);
            auto *lineEdit = new QLineEdit(tr("%1 input").arg(tr(variant.label)), box);
            setVariant(lineEdit, variant.key);
            grid->addWidget(label, i / 2, 2 * (i % 2));
            grid->addWidget(lineEdit, i / 2, 2 * (i % 2) + 1);
        }
        ui->inputsLayout->addWidget(box, 1, 0, 1, 2);
    }
    {
        const auto [box, grid] = newSection(tr("Semantic Ranges"), ui->slidersTab);
        for (int i = 0; i < variantCount; ++i) {
            const SemanticVariant &variant = kSemanticVariants[i];
            auto *label = new QLabel(tr(variant.label), box);
            auto *slider = new QSlider(Qt::Horizontal, box);
            slider->setValue(variant.sampleValue);
            setVariant(slider, variant.key);
            auto *progressBar = new QProgressBar(box);
            progressBar->setValue(variant.sampleValue);
            setVariant(progressBar, variant.key);
            grid->addWidget(label, i, 0);
            grid->addWidget(slider, i, 1);
            grid->addWidget(progressBar, i, 2);
        }
        ui->slidersLayout->addWidget(box, 1, 0, 1, 2);
    }
    {
        const auto [box, grid] = newSection(tr("Semantic Editors"), ui->editorsTab);
        const int editorCount = int(std::size(kSemanticEditorVariants));
        for (int i = 0; i < editorCount; ++i) {
            const SemanticVariant &variant = kSemanticEditorVariants[i];
            auto *editor = new QTextEdit(box);
            editor->setPlainText(tr("%1 editor").arg(tr(variant.label)));
            editor->setFixedHeight(kSemanticEditorHeight);
            setVariant(editor, variant.key);
            grid->addWidget(editor, i / 2, i % 2);
        }
        ui->editorsLayout->addWidget(box);
    }
}

void PreviewContent::applyIconSet(int index)
{
    const QStringList mainIcons{customIcon("add"), customIcon("edit"), customIcon("save")};
    const QStringList secondaryIcons{customIcon("search"), customIcon("refresh"),
                                     customIcon("delete")};
    const QStringList cycleIcons{customIcon("refresh"), customIcon("add"), customIcon("edit")};
    const int i = index % mainIcons.size();

    ui->iconCyclePushButton->setIcon(QIcon(cycleIcons.at(i)));
    ui->iconActionPushButton->setIcon(QIcon(mainIcons.at(i)));
    ui->iconSecondaryPushButton->setIcon(QIcon(secondaryIcons.at(i)));
    ui->iconOnlyToolButton->setIcon(QIcon(mainIcons.at(i)));
    ui->iconTextToolButton->setIcon(QIcon(secondaryIcons.at(i)));
    ui->disabledIconPushButton->setIcon(QIcon(mainIcons.at(i)));

    const QSize iconSize(18, 18);
    ui->iconCyclePushButton->setIconSize(iconSize);
    ui->iconActionPushButton->setIconSize(iconSize);
    ui->iconSecondaryPushButton->setIconSize(iconSize);
    ui->iconOnlyToolButton->setIconSize(QSize(24, 24));
    ui->iconTextToolButton->setIconSize(iconSize);
    ui->disabledIconPushButton->setIconSize(iconSize);

    ui->iconOnlyToolButton->setToolTip(tr("Icon-only QToolButton"));
    ui->iconCyclePushButton->setText(tr("Switch icon set %1").arg(i + 1));
}

void PreviewContent::showDialogPreview(int dialogType)
{
    const QString text = tr("This is a demo dialog.");
    switch (dialogType) {
    case ErrorDialog:
        QMessageBox::critical(this, tr("Error"), text, QMessageBox::Ok, QMessageBox::NoButton);
        break;
    case InfoDialog:
        QMessageBox::information(this, tr("Information"), text, QMessageBox::Ok,
                                 QMessageBox::NoButton);
        break;
    case WarningDialog:
        QMessageBox::warning(this, tr("Warning"), text, QMessageBox::Ok, QMessageBox::NoButton);
        break;
    case AboutDialog:
        QMessageBox::about(this, tr("About Prismark"), text);
        break;
    case HelpDialog: {
        QMessageBox box(this);
        box.setWindowTitle(tr("Help"));
        box.setIcon(QMessageBox::Question);
        box.setText(text);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        break;
    }
    default:
        QMessageBox::information(this, tr("Dialog Preview"), tr("Please select a dialog type."),
                                 QMessageBox::Ok, QMessageBox::NoButton);
        break;
    }
}

// Its meta-object is compiled here, not with the library's others, so that what
// uses none of the gallery (the attach plugin) does not link it.
#include "moc_previewcontent.cpp"
