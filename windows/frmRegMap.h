#pragma once
// The register map window: the chip's registers as a tree, the details and bits of the
// register last read, and boxes to read and write any register by address. Every write is
// followed by a read, so the window always shows what the chip holds.
#include "widgets/ChildForm.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class ClickableLabel;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmRegMap : public ChildForm {
    Q_OBJECT
public:
    explicit frmRegMap(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QTreeWidget* TreeView1 = nullptr;

    QGroupBox* Frame3 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblRegDescription = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lblCurrentAddr = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblHexVal = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblDecVal = nullptr;

    QGroupBox* fraBits = nullptr;
    std::array<ClickableLabel*, 8> lblBit{};   // element n: the digit of bit n
    std::array<QLabel*, 8> lblInfo{};          // element k: the label of bit 7 - k

    QGroupBox* Frame6 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtReadAddr = nullptr;
    QLabel* lblHex = nullptr;
    QLabel* lblDec = nullptr;
    QLineEdit* txtWriteAddr = nullptr;
    QLineEdit* txtHex = nullptr;
    QLineEdit* txtDec = nullptr;
    QPushButton* cmdRead = nullptr;
    QPushButton* cmdWrite = nullptr;
    QCheckBox* chkContRead = nullptr;   // the monitoring cycle reads it and calls cmdRead_Click

    void FillRegTree();
    void ArrangeBitDisplay();
    void ShowRegDetails(int index);
    void ShowBits(int value);

    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void cmdRead_Click();
    void cmdWrite_Click();
    void lblBit_Click(int index);
    void txtDec_Change();
    void txtHex_Change();
    void txtReadAddr_Change();
    // Qt key codes; Return and the keypad's Enter both write.
    void txtDec_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void txtHex_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

protected:
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    QGroupBox* BuildTreeFrame();
    QGroupBox* BuildDetailsFrame();
    QGroupBox* BuildBitFrame();
    QGroupBox* BuildReadWriteFrame();
    void ConnectHandlers();
    // The widest of all registers' bit labels, in pixels.
    int BitLabelWidth() const;

    // The boxes' numbers, or nothing after the user was told why the text cannot be used.
    std::optional<int32_t> ReadAddressOrRefuse(const QString& consequence);
    std::optional<int32_t> WriteAddressOrRefuse();
    std::optional<int32_t> WriteValueOrRefuse();

    bool Updating = false;   // true while one value box sets the other
};
