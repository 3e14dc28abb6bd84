// The register map window against the scripted board: tree, details, bits, the value boxes'
// mirror, writes and the refusal of input that cannot be sent.
#include "windows/frmRegMap.h"

#include "state/GeneralStuff.h"
#include "registers/RegMapStuff.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedPrompts.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

class RegMapWindow : public ::testing::Test {
protected:
    RegMapWindow() {
        form = std::make_unique<frmRegMap>();
        prompts.warning = [this](const QString& text) { warnings << text; };
        form->show();
        QCoreApplication::processEvents();
    }

    std::map<int, int>& Chip() { return board.driver.Chip(); }

    QTreeWidgetItem* Node(const QString& name) {
        return form->TreeView1->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }

    void ClickNode(const QString& name) {
        QTreeWidgetItem* item = Node(name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        form->TreeView1->scrollToItem(item);
        const QRect rect = form->TreeView1->visualItemRect(item);
        QTest::mouseClick(form->TreeView1->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static void Type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    // The digits as the user reads them, bit 7 first.
    QString Bits() const {
        QString text;
        for (int n = 7; n >= 0; --n) text += form->lblBit[n]->text();
        return text;
    }

    QStringList BitLabels() const {
        QStringList labels;
        for (QLabel* label : form->lblInfo) labels << label->text();
        return labels;
    }

    BoardFixtureState board;
    std::unique_ptr<frmRegMap> form;
    ScriptedPrompts prompts;
    QStringList warnings;
};

TEST_F(RegMapWindow, OpensWithTheRegisterTreeAndReadsNothing) {
    EXPECT_EQ(form->windowTitle(), "Register Map");
    EXPECT_EQ(form->size(), TwipsToPixels(8430, 6330));
    EXPECT_TRUE(GeneralStuff::RegMapOpen);
    EXPECT_TRUE(board.driver.log.empty());

    QTreeWidget* tree = form->TreeView1;
    EXPECT_EQ(tree->indentation(), TwipsToPixelsX(200));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "Register Map");
    EXPECT_EQ(root->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(root->child(i)->text(0).toStdString(), RegMapStuff::RegTable[i].Name);
        EXPECT_EQ(root->child(i)->foreground(0).color(), QColor(0, 0, 255));
    }

    EXPECT_EQ(Bits(), "00000000");
    EXPECT_EQ(BitLabels(), QStringList(8, "X"));
    EXPECT_EQ(form->lblRegDescription->text(), "Description");
    EXPECT_EQ(form->lblHexVal->text(), "HexVal");
    EXPECT_EQ(form->txtHex->text(), "0H");
    EXPECT_EQ(form->txtDec->text(), "0");
    EXPECT_FALSE(form->chkContRead->isChecked());

    form->close();
    EXPECT_FALSE(GeneralStuff::RegMapOpen);
}

TEST_F(RegMapWindow, AddressOutsideTheTableShowsUnknown) {
    Chip()[0x09] = 0x5A;
    form->lblDec->setText("dec before");
    form->lblHex->setText("hex before");
    form->txtWriteAddr->setText("Bh");
    Type(form->txtReadAddr, "9");
    QTest::mouseClick(form->cmdRead, Qt::LeftButton);

    EXPECT_EQ(board.driver.Reads(), std::vector<int>{0x09});
    EXPECT_EQ(form->lblRegDescription->text(), "Unknown");
    EXPECT_EQ(form->lblCurrentAddr->text(), "9h");
    EXPECT_EQ(form->txtReadAddr->text(), "9H");
    EXPECT_EQ(BitLabels(), (QStringList{"7", "6", "5", "4", "3", "2", "1", "0"}));
    EXPECT_EQ(form->lblHexVal->text(), "5A");
    EXPECT_EQ(form->lblDecVal->text(), "90");
    EXPECT_EQ(Bits(), "01011010");
    EXPECT_EQ(form->lblDec->text(), "dec before");
    EXPECT_EQ(form->lblHex->text(), "hex before");
    EXPECT_EQ(form->txtWriteAddr->text(), "Bh");
}

TEST_F(RegMapWindow, ReadAddressWithoutHexDigitReadsRegisterZero) {
    Chip()[0x00] = 0x19;
    for (const QString text : {"", "zz"}) {
        SCOPED_TRACE(text.toStdString());
        form->txtReadAddr->setText(text);
        form->cmdRead_Click();
        EXPECT_EQ(board.driver.Reads().back(), 0x00);
        EXPECT_EQ(form->lblRegDescription->text(), "Local Temp Value");
        EXPECT_EQ(form->txtReadAddr->text(), "0H");
        EXPECT_EQ(form->lblCurrentAddr->text(), "0h");
        EXPECT_EQ(form->lblHexVal->text(), "19H");
        EXPECT_EQ(form->lblDecVal->text(), "25");
    }
}

TEST_F(RegMapWindow, ChoosingConfigurationShowsItsDetails) {
    Chip()[0x03] = 0x84;
    form->txtDec->setText("7");
    ClickNode("Configuration");

    EXPECT_EQ(board.driver.Reads(), std::vector<int>{0x03});
    EXPECT_EQ(form->lblRegDescription->text(), "Configuration");
    EXPECT_EQ(form->lblCurrentAddr->text(), "3h");
    EXPECT_EQ(form->txtReadAddr->text(), "3H");
    EXPECT_EQ(form->txtWriteAddr->text(), "9h");
    EXPECT_EQ(BitLabels(), (QStringList{"Msk", "STBY", "AL/TH", "-", "-", "TRNG", "-", "-"}));
    EXPECT_EQ(form->lblHexVal->text(), "84H");
    EXPECT_EQ(form->lblDecVal->text(), "132");
    EXPECT_EQ(form->lblHex->text(), "84H");
    EXPECT_EQ(form->lblDec->text(), "132");
    EXPECT_EQ(Bits(), "10000100");
    EXPECT_EQ(form->txtDec->text(), "7");
    EXPECT_EQ(form->txtHex->text(), "7");
}

TEST_F(RegMapWindow, ClickingTheRootChangesNothing) {
    ClickNode("Status");
    board.driver.ClearLog();
    const QString description = form->lblRegDescription->text();
    const QString readAddress = form->txtReadAddr->text();
    const QStringList labels = BitLabels();
    ClickNode("Register Map");
    EXPECT_TRUE(board.driver.log.empty());
    EXPECT_EQ(form->lblRegDescription->text(), description);
    EXPECT_EQ(form->txtReadAddr->text(), readAddress);
    EXPECT_EQ(BitLabels(), labels);
}

TEST_F(RegMapWindow, ReadAddressIsShownInUpperCase) {
    Type(form->txtReadAddr, "fe");
    EXPECT_EQ(form->txtReadAddr->text(), "FE");
}

TEST_F(RegMapWindow, ValueBoxesMirrorEachOtherWithoutEcho) {
    Type(form->txtDec, "255");
    EXPECT_EQ(form->txtHex->text(), "FF");
    EXPECT_EQ(form->txtDec->text(), "255");
    Type(form->txtHex, "ff");
    EXPECT_EQ(form->txtDec->text(), "255");
    EXPECT_EQ(form->txtHex->text(), "ff");   // an echo would have made it "FF"
    Type(form->txtHex, "FFFF");
    EXPECT_EQ(form->txtDec->text(), "-1");
    Type(form->txtDec, "-1");
    EXPECT_EQ(form->txtHex->text(), "FFFFFFFF");
    EXPECT_EQ(form->txtDec->text(), "-1");

    // Numbers beyond 32 bits leave the other box as it was.
    Type(form->txtHex, "123456789");
    EXPECT_EQ(form->txtDec->text(), "305419896");
    Type(form->txtDec, "1e10");
    EXPECT_EQ(form->txtHex->text(), "A");
    EXPECT_TRUE(board.driver.log.empty());
}

TEST_F(RegMapWindow, BitClickWritesTheFlippedByteThenReads) {
    Chip()[0x03] = 0x84;
    ClickNode("Configuration");
    board.driver.ClearLog();
    QTest::mouseClick(form->lblBit[6], Qt::LeftButton);

    EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x09, 0xC4}}));
    // The shadow update reads the Configuration register, then the window shows it.
    EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x03, 0x03}));
    EXPECT_EQ(board.driver.RegisterTraffic().front().direction, 0);
    EXPECT_EQ(form->lblHexVal->text(), "C4H");
    EXPECT_EQ(Bits(), "11000100");
    EXPECT_TRUE(RegMapStuff::Standby);
}

TEST_F(RegMapWindow, EnterInAValueBoxWritesLikeTheWriteButton) {
    ClickNode("Consecutive Alert");
    form->txtDec->setText("3");
    board.driver.ClearLog();
    QTest::mouseClick(form->cmdWrite, Qt::LeftButton);
    const std::vector<DriverRequest> byButton = board.driver.RegisterTraffic();
    ASSERT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x22, 3}}));
    EXPECT_EQ(board.driver.Reads(), std::vector<int>{0x22});

    const std::array<std::pair<QLineEdit*, Qt::Key>, 3> presses{
        {{form->txtDec, Qt::Key_Return}, {form->txtHex, Qt::Key_Return}, {form->txtHex, Qt::Key_Enter}}};
    for (const auto& [box, key] : presses) {
        SCOPED_TRACE(box->objectName().toStdString());
        board.driver.ClearLog();
        QTest::keyClick(box, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(board.driver.RegisterTraffic(), byButton);
    }

    board.driver.ClearLog();
    QTest::keyClick(form->txtReadAddr, Qt::Key_Return);
    EXPECT_TRUE(board.driver.log.empty());
}

TEST_F(RegMapWindow, WriteToConfigurationAddressRefreshesTheShadow) {
    form->txtReadAddr->setText("3");
    form->txtWriteAddr->setText("9");
    form->txtDec->setText("68");   // 0x44: standby and extended range
    form->cmdWrite_Click();
    EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x03, 0x03}));
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
    EXPECT_TRUE(RegMapStuff::Standby);

    board.driver.ClearLog();
    form->txtWriteAddr->setText("3");
    form->txtDec->setText("0");
    form->cmdWrite_Click();
    EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x03, 0}}));
    EXPECT_EQ(board.driver.Reads(), std::vector<int>{0x03});
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
    EXPECT_TRUE(RegMapStuff::Standby);
}

TEST_F(RegMapWindow, BitClickOnReadOnlyRegisterWritesToAddressZero) {
    ClickNode("Status");
    EXPECT_EQ(form->txtWriteAddr->text(), "0h");
    board.driver.ClearLog();
    form->lblBit_Click(0);
    EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x00, 0x01}}));
    EXPECT_EQ(board.driver.Reads(), std::vector<int>{0x02});
    EXPECT_EQ(form->lblRegDescription->text(), "Status");
}

TEST_F(RegMapWindow, ValueAbove255IsSentAs255) {
    form->txtReadAddr->setText("22");
    form->txtWriteAddr->setText("22");
    form->txtDec->setText("300");
    form->cmdWrite_Click();
    EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x22, 255}}));
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(RegMapWindow, WriteSendsTheDecimalValueRoundedHalvesToEven) {
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"254.5", 254}, {"7.49", 7}, {"7.51", 8}};
    for (const auto& [text, sent] : cases) {
        SCOPED_TRACE(text);
        form->txtReadAddr->setText("22");
        form->txtWriteAddr->setText("22");
        form->txtDec->setText(text);
        board.driver.ClearLog();
        form->cmdWrite_Click();
        EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x22, sent}}));
    }
}

TEST_F(RegMapWindow, UnusableInputIsRefusedAndNothingIsSent) {
    struct Case {
        QLineEdit* box;
        QString text;
        QString field;
    };
    const std::vector<Case> cases{
        {form->txtWriteAddr, "123456789", "Write Address"},
        {form->txtWriteAddr, "100", "Write Address"},
        {form->txtWriteAddr, "FFFF", "Write Address"},
        {form->txtDec, "1e10", "Value(Dec)"},
        {form->txtDec, "-1", "Value(Dec)"},
        {form->txtHex, "123456789", "Value(Hex)"},
        {form->txtReadAddr, "123456789", "Read Address"},
        {form->txtReadAddr, "100", "Read Address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.box->objectName() + " " + c.text).toStdString());
        form->txtReadAddr->setText("22");
        form->txtWriteAddr->setText("22");
        form->txtHex->setText("3");
        form->txtDec->setText("3");
        c.box->setText(c.text);
        board.driver.ClearLog();
        warnings.clear();
        form->cmdWrite_Click();
        QCoreApplication::processEvents();   // the read refusal is shown once the handler returns
        EXPECT_TRUE(board.driver.log.empty());
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(c.field)) << warnings[0].toStdString();
    }
}

TEST_F(RegMapWindow, BitClickWithUnusableWriteAddressChangesNothing) {
    form->txtWriteAddr->setText("100");
    form->lblBit_Click(3);
    EXPECT_EQ(Bits(), "00000000");
    EXPECT_TRUE(board.driver.log.empty());
    EXPECT_EQ(warnings.size(), 1);
}

TEST_F(RegMapWindow, UnusableReadAddressStopsContinuousRead) {
    // Beyond 32 bits, above FF and negative (FFFF reads as -1): the board has no such register.
    for (const char* text : {"123456789", "100", "FFFF"}) {
        SCOPED_TRACE(text);
        warnings.clear();
        form->chkContRead->setChecked(true);
        form->txtReadAddr->setText(text);
        form->cmdRead_Click();
        EXPECT_FALSE(form->chkContRead->isChecked());
        QCoreApplication::processEvents();
        EXPECT_TRUE(board.driver.log.empty());
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains("Nothing was read."));
        EXPECT_FALSE(form->chkContRead->isChecked());
    }
    // A write whose following read cannot be made says that nothing was written.
    form->txtWriteAddr->setText("5");
    form->txtDec->setText("7");
    warnings.clear();
    form->cmdWrite_Click();
    QCoreApplication::processEvents();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("Nothing was written."));
    EXPECT_TRUE(board.driver.log.empty());
}

TEST_F(RegMapWindow, ADoubleClickOnABitFlipsItOnce) {
    ClickNode("Local Temp High Limit");
    board.driver.ClearLog();
    // What the window system delivers for a double-click: press, release, double-click, release.
    QLabel* bit = form->lblBit[0];
    const QPointF at = bit->rect().center();
    QTest::mousePress(bit, Qt::LeftButton, {}, at.toPoint());
    QTest::mouseRelease(bit, Qt::LeftButton, {}, at.toPoint());
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, bit->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(bit, &doubleClick);
    QTest::mouseRelease(bit, Qt::LeftButton, {}, at.toPoint());
    EXPECT_EQ(board.driver.Writes(), (std::vector<std::pair<int, int>>{{0x0B, 0x54}}));
}

TEST_F(RegMapWindow, TimedReadRestoresTheAddressBoxes) {
    ClickNode("Configuration");
    form->chkContRead->setChecked(true);
    form->txtReadAddr->setText("03");
    form->txtWriteAddr->setText("0009");
    form->cmdRead_Click();
    EXPECT_EQ(form->txtReadAddr->text(), "3H");
    EXPECT_EQ(form->txtWriteAddr->text(), "9h");
}

TEST_F(RegMapWindow, FailedReadGoesToTheFailurePath) {
    board.driver.failAfter = 0;
    form->txtReadAddr->setText("3");
    EXPECT_THROW(form->cmdRead_Click(), BoardFailure);
    ASSERT_FALSE(board.messages.empty());
    EXPECT_EQ(board.messages.back(), "Communications Interrupted - Check USB connections");
}

TEST_F(RegMapWindow, BitLabelsStandCentredUnderTheirDigits) {
    ClickNode("Status");
    const int margin = TwipsToPixelsX(100);
    // Whole-pixel digit widths move the left end a little; the right end is exact.
    EXPECT_NEAR(form->lblBit[0]->geometry().right() + 1, form->fraBits->width() - margin, 1);
    EXPECT_GE(form->lblBit[7]->x(), 0);
    EXPECT_LE(form->lblBit[7]->x(), 2 * margin);
    for (int n = 7; n >= 0; --n) {
        SCOPED_TRACE(n);
        QLabel* digit = form->lblBit[n];
        QLabel* label = form->lblInfo[7 - n];
        if (n > 0) {
            EXPECT_NEAR(digit->geometry().right() + 1, form->lblBit[n - 1]->x(), 1);
        }
        EXPECT_NEAR(label->geometry().center().x(), digit->geometry().center().x(), 1);
        EXPECT_GT(label->y(), digit->geometry().bottom());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
}

}  // namespace
