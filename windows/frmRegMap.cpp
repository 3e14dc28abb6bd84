#include "windows/frmRegMap.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Twips.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int NodeKeyRole = Qt::UserRole;

QString Text(const std::string& s) { return QString::fromStdString(s); }

// Address boxes and txtHex hold hexadecimal digits; a trailing "h" or "H" is ignored.
double ParseHexText(const QString& text) { return GeneralStuff::ParseNumber("&H" + text.toStdString()); }

QString AddressText(int32_t address) { return Text(GeneralStuff::HexText(address)) + "h"; }
QString HexValueText(int32_t value) { return Text(GeneralStuff::HexText(value)) + "H"; }
QString DecimalText(int32_t value) { return Text(GeneralStuff::TrimmedNumberText(static_cast<int>(value))); }

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

QLabel* ValueLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

frmRegMap::frmRegMap(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmRegMap");
    setWindowTitle("Register Map");
    // The right-hand column is as wide as the bit display needs; the tree takes the rest.
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(6);
    rightLayout->addWidget(BuildDetailsFrame());
    rightLayout->addWidget(BuildBitFrame());
    rightLayout->addWidget(BuildReadWriteFrame());
    rightLayout->addStretch(1);
    right->setFixedWidth(fraBits->minimumWidth());

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(6, 6, 6, 6);
    main->setSpacing(6);
    main->addWidget(BuildTreeFrame(), 1);
    main->addWidget(right, 0);

    ConnectHandlers();
    Form_Load();
}

QGroupBox* frmRegMap::BuildTreeFrame() {
    Frame1 = new QGroupBox("Register Map", this);
    Frame1->setObjectName("Frame1");
    TreeView1 = new QTreeWidget(Frame1);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    // Long register names scroll sideways instead of being cut off.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(Frame1);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(TreeView1);
    return Frame1;
}

QGroupBox* frmRegMap::BuildDetailsFrame() {
    Frame3 = new QGroupBox("Register Details", this);
    Frame3->setObjectName("Frame3");
    Label7 = new QLabel("Register", Frame3);
    lblRegDescription = new QLabel("Description", Frame3);
    Label8 = new QLabel("Address", Frame3);
    lblCurrentAddr = new QLabel("Address", Frame3);
    Label9 = new QLabel("Current Value (Hex)", Frame3);
    lblHexVal = new QLabel("HexVal", Frame3);
    Label10 = new QLabel("Current Value (Dec)", Frame3);
    lblDecVal = new QLabel("DecVal", Frame3);
    Label7->setObjectName("Label7");
    lblRegDescription->setObjectName("lblRegDescription");
    Label8->setObjectName("Label8");
    lblCurrentAddr->setObjectName("lblCurrentAddr");
    Label9->setObjectName("Label9");
    lblHexVal->setObjectName("lblHexVal");
    Label10->setObjectName("Label10");
    lblDecVal->setObjectName("lblDecVal");

    auto* grid = new QGridLayout(Frame3);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    const std::array<std::pair<QLabel*, QLabel*>, 4> rows{{{Label7, lblRegDescription},
                                                           {Label8, lblCurrentAddr},
                                                           {Label9, lblHexVal},
                                                           {Label10, lblDecVal}}};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(rows[row].first, row, 0);
        grid->addWidget(rows[row].second, row, 1);
        rows[row].second->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    grid->setColumnStretch(1, 1);
    return Frame3;
}

QGroupBox* frmRegMap::BuildBitFrame() {
    // No layout: ArrangeBitDisplay places the digits and their labels.
    fraBits = new QGroupBox("Bit Display", this);
    fraBits->setObjectName("fraBits");
    // The bit labels a point smaller than the window's font, so eight of them fit side by side.
    QFont labelFont = font();
    if (labelFont.pointSizeF() > 0) labelFont.setPointSizeF(labelFont.pointSizeF() - 1);
    for (int n = 0; n < 8; ++n) {
        lblBit[n] = new ClickableLabel("0", fraBits);
        lblBit[n]->setObjectName(QString("lblBit_%1").arg(n));
        lblBit[n]->setAlignment(Qt::AlignCenter);
        lblBit[n]->setFrameStyle(QFrame::Panel | QFrame::Raised);
        lblBit[n]->setCursor(Qt::PointingHandCursor);
        lblBit[n]->setToolTip(QString("Click to flip bit %1 and write the register").arg(n));
        lblInfo[n] = new QLabel("X", fraBits);
        lblInfo[n]->setObjectName(QString("lblInfo_%1").arg(n));
        lblInfo[n]->setAlignment(Qt::AlignCenter);
        lblInfo[n]->setFont(labelFont);
    }
    const int lineHeight = fontMetrics().height();
    fraBits->setMinimumHeight(TwipsToPixelsY(240) + lineHeight + 6 + 2 + lineHeight + 8);
    fraBits->setMinimumWidth(8 * (BitLabelWidth() + 2) + 2 * TwipsToPixelsX(100));
    fraBits->installEventFilter(this);   // re-arranges the bits once the layout gives the width
    return fraBits;
}

QGroupBox* frmRegMap::BuildReadWriteFrame() {
    Frame6 = new QGroupBox(this);
    Frame6->setObjectName("Frame6");
    Label1 = new QLabel("Read", Frame6);
    Label2 = new QLabel("Write", Frame6);
    Label11 = new QLabel("Address", Frame6);
    Label5 = new QLabel("Value(Hex)", Frame6);
    Label6 = new QLabel("Value(Dec)", Frame6);
    txtReadAddr = new QLineEdit(Frame6);
    lblHex = ValueLabel(QString(), Frame6);
    lblDec = ValueLabel(QString(), Frame6);
    txtWriteAddr = new QLineEdit(Frame6);
    txtHex = new QLineEdit("0H", Frame6);
    txtDec = new QLineEdit("0", Frame6);
    cmdRead = new QPushButton("Read", Frame6);
    cmdWrite = new QPushButton("Write", Frame6);
    chkContRead = new QCheckBox("Continuous Read", Frame6);
    Label1->setObjectName("Label1");
    Label2->setObjectName("Label2");
    Label11->setObjectName("Label11");
    Label5->setObjectName("Label5");
    Label6->setObjectName("Label6");
    txtReadAddr->setObjectName("txtReadAddr");
    lblHex->setObjectName("lblHex");
    lblDec->setObjectName("lblDec");
    txtWriteAddr->setObjectName("txtWriteAddr");
    txtHex->setObjectName("txtHex");
    txtDec->setObjectName("txtDec");
    cmdRead->setObjectName("cmdRead");
    cmdWrite->setObjectName("cmdWrite");
    chkContRead->setObjectName("chkContRead");
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    txtReadAddr->setToolTip("Hexadecimal address of the register to read");
    txtWriteAddr->setToolTip("Hexadecimal address of the register to write");
    chkContRead->setToolTip("Read the register twice a second");

    auto* grid = new QGridLayout(Frame6);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(Label11, 1, 0);
    grid->addWidget(txtReadAddr, 1, 1);
    grid->addWidget(txtWriteAddr, 1, 2);
    grid->addWidget(Label5, 2, 0);
    grid->addWidget(lblHex, 2, 1);
    grid->addWidget(txtHex, 2, 2);
    grid->addWidget(Label6, 3, 0);
    grid->addWidget(lblDec, 3, 1);
    grid->addWidget(txtDec, 3, 2);
    grid->addWidget(chkContRead, 4, 0);
    grid->addWidget(cmdRead, 4, 1);
    grid->addWidget(cmdWrite, 4, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return Frame6;
}

void frmRegMap::ConnectHandlers() {
    connect(TreeView1, &QTreeWidget::itemClicked, this, &frmRegMap::TreeView1_NodeClick);
    connect(cmdRead, &QPushButton::clicked, this, &frmRegMap::cmdRead_Click);
    connect(cmdWrite, &QPushButton::clicked, this, &frmRegMap::cmdWrite_Click);
    for (int n = 0; n < 8; ++n) {
        connect(lblBit[n], &ClickableLabel::clicked, this, [this, n] { lblBit_Click(n); });
    }
    connect(txtDec, &QLineEdit::textChanged, this, &frmRegMap::txtDec_Change);
    connect(txtHex, &QLineEdit::textChanged, this, &frmRegMap::txtHex_Change);
    connect(txtReadAddr, &QLineEdit::textChanged, this, &frmRegMap::txtReadAddr_Change);
    txtDec->installEventFilter(this);
    txtHex->installEventFilter(this);
}

void frmRegMap::Form_Load() {
    // Set to 8430 x 6330 at load; the user may make it larger to see long register names.
    SetFixedFormSize(false);
    SetFormSizeTwips(8430, 6330);
    FillRegTree();
    ArrangeBitDisplay();
    TreeView1->topLevelItem(0)->setExpanded(true);
    GeneralStuff::RegMapOpen = true;
}

void frmRegMap::Form_Unload() { GeneralStuff::RegMapOpen = false; }

bool frmRegMap::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fraBits && event->type() == QEvent::Resize) {
        ArrangeBitDisplay();
    } else if (event->type() == QEvent::KeyPress && (watched == txtDec || watched == txtHex)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key->key())) {
            if (watched == txtDec) {
                txtDec_KeyDown(key->key(), key->modifiers());
            } else {
                txtHex_KeyDown(key->key(), key->modifiers());
            }
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

void frmRegMap::FillRegTree() {
    TreeView1->clear();
    TreeView1->setIndentation(TwipsToPixelsX(200));
    auto* root = new QTreeWidgetItem(TreeView1, QStringList{"Register Map"});
    root->setData(0, NodeKeyRole, QString("Register Map"));
    root->setForeground(0, QColor(255, 0, 0));
    for (const RegMapStuff::RegEntry& entry : RegMapStuff::RegTable) {
        auto* node = new QTreeWidgetItem(root, QStringList{Text(entry.Name)});
        node->setData(0, NodeKeyRole, Text(entry.Name));
        node->setForeground(0, QColor(0, 0, 255));
    }
}

void frmRegMap::ArrangeBitDisplay() {
    // Bit 7 at the left, bit 0 at the right, 100 twips from each side; each bit's label
    // centred under its digit.
    const double frameWidth = PixelsToTwipsX(fraBits->width());
    const int top = std::max(TwipsToPixelsY(240), fraBits->contentsRect().top());
    const int digitHeight = fontMetrics().height() + 6;
    const int labelWidth = BitLabelWidth();
    for (int n = 7; n >= 0; --n) {
        ClickableLabel* digit = lblBit[n];
        digit->resize(std::max(1, TwipsToPixelsX((frameWidth - 200) / 8)), digitHeight);
        const double w = PixelsToTwipsX(digit->width());
        digit->move(TwipsToPixelsX(frameWidth - ((n + 1) * w + 100)), top);

        QLabel* info = lblInfo[7 - n];
        info->resize(std::max(labelWidth, digit->width()), info->fontMetrics().height());
        info->move(digit->x() + digit->width() / 2 - info->width() / 2, top + digitHeight + 2);
    }
}

int frmRegMap::BitLabelWidth() const {
    const QFontMetrics metrics = lblInfo[0]->fontMetrics();
    int width = 0;
    for (const RegMapStuff::RegEntry& entry : RegMapStuff::RegTable) {
        for (const std::string& label : RegMapStuff::SplitBitNames(entry.BitNames))
            width = std::max(width, metrics.horizontalAdvance(Text(label)));
    }
    return width;
}

void frmRegMap::ShowRegDetails(int index) {
    const RegMapStuff::RegEntry& entry = RegMapStuff::RegTable.at(index);
    lblRegDescription->setText(Text(entry.Description));
    lblCurrentAddr->setText(AddressText(entry.ReadAddr));
    txtReadAddr->setText(AddressText(entry.ReadAddr));
    const std::array<std::string, 8> labels = RegMapStuff::SplitBitNames(entry.BitNames);
    for (int k = 0; k < 8; ++k) lblInfo[k]->setText(Text(labels[k]));
    const int16_t value = USBStuff::ReadRegister(USBStuff::DeviceAddress, entry.ReadAddr);
    lblDecVal->setText(DecimalText(value));
    lblHexVal->setText(HexValueText(value));
    lblDec->setText(DecimalText(value));
    lblHex->setText(HexValueText(value));
    ShowBits(value);
    txtWriteAddr->setText(AddressText(entry.WriteAddr));
}

void frmRegMap::ShowBits(int value) {
    for (int n = 7; n >= 0; --n) lblBit[n]->setText((value & (1 << n)) ? "1" : "0");
}

void frmRegMap::TreeView1_NodeClick(QTreeWidgetItem* node) {
    // The root has no parent; every other node is a register.
    if (!node || !node->parent()) return;
    const std::string key = node->data(0, NodeKeyRole).toString().toStdString();
    for (int i = 0; i < RegMapStuff::RegCount; ++i) {
        if (RegMapStuff::RegTable[i].Name == key) {
            ShowRegDetails(i);
            return;
        }
    }
}

void frmRegMap::cmdRead_Click() {
    const std::optional<int32_t> address = ReadAddressOrRefuse("Nothing was read.");
    if (!address) return;
    if (const std::optional<int> index = RegMapStuff::FindByReadAddr(*address)) {
        ShowRegDetails(*index);
        return;
    }
    lblRegDescription->setText("Unknown");
    lblCurrentAddr->setText(AddressText(*address));
    txtReadAddr->setText(AddressText(*address));
    for (int k = 0; k < 8; ++k) lblInfo[k]->setText(DecimalText(7 - k));
    const int16_t value = USBStuff::ReadRegister(USBStuff::DeviceAddress, *address);
    lblDecVal->setText(DecimalText(value));
    lblHexVal->setText(Text(GeneralStuff::HexText(value)));
    ShowBits(value);
}

void frmRegMap::cmdWrite_Click() {
    const std::optional<int32_t> address = WriteAddressOrRefuse();
    if (!address) return;
    std::optional<int32_t> data = WriteValueOrRefuse();
    if (!data) return;
    // The read that follows must be possible too, or the user would not see what was written.
    if (!ReadAddressOrRefuse("Nothing was written.")) return;
    USBStuff::WriteRegister(USBStuff::DeviceAddress, *address, *data);
    cmdRead_Click();
}

void frmRegMap::lblBit_Click(int index) {
    if (index < 0 || index > 7) return;
    const std::optional<int32_t> address = WriteAddressOrRefuse();
    if (!address || !ReadAddressOrRefuse("Nothing was written.")) return;
    lblBit[index]->setText(lblBit[index]->text() == "0" ? "1" : "0");
    int32_t value = 0;
    for (int n = 7; n >= 0; --n) {
        if (lblBit[n]->text() != "0") value += 1 << n;
    }
    USBStuff::WriteRegister(USBStuff::DeviceAddress, *address, value);
    cmdRead_Click();
}

void frmRegMap::txtDec_Change() {
    if (Updating) return;
    Updating = true;
    // A number beyond 32 bits has no hexadecimal form here; the other box keeps its text.
    const double value = GeneralStuff::ParseNumber(txtDec->text().toStdString());
    if (GeneralStuff::FitsInt32(value)) txtHex->setText(Text(GeneralStuff::HexText(value)));
    Updating = false;
}

void frmRegMap::txtHex_Change() {
    if (Updating) return;
    Updating = true;
    const double value = ParseHexText(txtHex->text());
    if (GeneralStuff::FitsInt32(value)) txtDec->setText(Text(GeneralStuff::TrimmedNumberText(value)));
    Updating = false;
}

void frmRegMap::txtReadAddr_Change() {
    const QString upper = txtReadAddr->text().toUpper();
    if (upper == txtReadAddr->text()) return;
    const int cursor = txtReadAddr->cursorPosition();
    txtReadAddr->setText(upper);
    txtReadAddr->setCursorPosition(cursor);
}

void frmRegMap::txtDec_KeyDown(int keyCode, Qt::KeyboardModifiers) {
    if (IsEnterKey(keyCode)) cmdWrite_Click();
}

void frmRegMap::txtHex_KeyDown(int keyCode, Qt::KeyboardModifiers) {
    if (IsEnterKey(keyCode)) cmdWrite_Click();
}

std::optional<int32_t> frmRegMap::ReadAddressOrRefuse(const QString& consequence) {
    // The chip has 256 register addresses; the board refuses any other and the program
    // would end on it.
    const double address = ParseHexText(txtReadAddr->text());
    if (GeneralStuff::FitsInt32(address)) {
        const int32_t whole = GeneralStuff::Nearest(address);
        if (whole >= 0 && whole <= 0xFF) return whole;
    }
    // Stop the timed reads first, or the cycle would repeat this message twice a second.
    chkContRead->setChecked(false);
    // The monitoring cycle's timed reads come here too. A modal box opened inside its tick
    // would hold up every other activity while it shows, so the box opens after the tick.
    const QString text = "The Read Address must be a hexadecimal register address from 0 to FF.\n" + consequence;
    QTimer::singleShot(0, this, [this, text] { ShowWarning(this, text); });
    return std::nullopt;
}

std::optional<int32_t> frmRegMap::WriteAddressOrRefuse() {
    // The request carries the address in one byte; a larger one would spill into the data.
    const double address = ParseHexText(txtWriteAddr->text());
    if (GeneralStuff::FitsInt32(address)) {
        const int32_t whole = GeneralStuff::Nearest(address);
        if (whole >= 0 && whole <= 0xFF) return whole;
    }
    ShowWarning(this, "The Write Address must be a hexadecimal register address from 0 to FF.\n"
                      "Nothing was written.");
    return std::nullopt;
}

std::optional<int32_t> frmRegMap::WriteValueOrRefuse() {
    const double value = GeneralStuff::ParseNumber(txtDec->text().toStdString());
    if (!GeneralStuff::FitsInt32(value)) {
        ShowWarning(this, "The Value(Dec) is too large: a register value is 0 to 255.\nNothing was written.");
        return std::nullopt;
    }
    const int32_t data = GeneralStuff::Nearest(value);
    if (data < 0) {
        ShowWarning(this, "The Value(Dec) must not be negative: a register value is 0 to 255.\nNothing was written.");
        return std::nullopt;
    }
    // txtHex only mirrors txtDec, but after a refused mirror it holds what the user meant.
    if (!GeneralStuff::FitsInt32(ParseHexText(txtHex->text()))) {
        ShowWarning(this, "The Value(Hex) must have at most eight hexadecimal digits: a register value is 0 to FF.\n"
                          "Nothing was written.");
        return std::nullopt;
    }
    return data;
}
