// The connection settings dialog, with its files in a temporary folder.
#include "ui/dialogs/connection_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zx {
namespace {

class ConnsetTest : public ::testing::Test {
  protected:
    ConnsetTest() { setConfigDir(dir.path()); }
    ~ConnsetTest() override { setConfigDir(QString()); }

    std::unique_ptr<ConnectionDialog> open(const QStringList& ports = {}) {
        auto d = std::make_unique<ConnectionDialog>(state, nullptr, ports, savedConnectionsPath());
        d->show();
        return d;
    }
    static QStringList items(const QComboBox* box) {
        QStringList l;
        for (int i = 0; i < box->count(); ++i)
            l << box->itemText(i);
        return l;
    }
    static QStringList items(const QListWidget* list) {
        QStringList l;
        for (int i = 0; i < list->count(); ++i)
            l << list->item(i)->text();
        return l;
    }

    QTemporaryDir dir;
    ConnectionState state;
};

TEST_F(ConnsetTest, ShowsItsControlsWithComOneToNineWhenNoPortIsListed) {
    auto d = open();
    EXPECT_EQ(d->windowTitle(), "Com port beállítások");
    EXPECT_FALSE(d->windowFlags() & Qt::WindowCloseButtonHint);
    for (const char* name : {"CmbCom", "CmbSpeed", "edPhone", "edConn", "lbConn", "BtnOK"})
        EXPECT_NE(d->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(items(d->CmbCom), QStringList({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
                                             "COM8", "COM9"}));
    EXPECT_EQ(items(d->CmbSpeed), QStringList({"300", "600", "1200", "2400", "4800", "9600",
                                               "19200", "38400", "57600", "115200"}));
    EXPECT_TRUE(d->CmbCom->isEditable());
    EXPECT_TRUE(d->BtnOK->isDefault());
    EXPECT_EQ(d->BtnOK->text(), "OK");
    QStringList labels;
    for (const QLabel* l : d->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Portszám:", "Sebesség:", "Telefonszám:", "Kapcsolat:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(d->findChild<QGroupBox*>()->title(), "Kapcsolatok");
}

TEST_F(ConnsetTest, ListedPortsReplaceTheDefaultsSortedAsText) {
    auto d = open({"ttyUSB0", "COM2", "COM10", "COM1", "COM2"});
    EXPECT_EQ(items(d->CmbCom), QStringList({"COM1", "COM10", "COM2", "ttyUSB0"}));
}

TEST_F(ConnsetTest, ClosedAtOnceChangesNothing) {
    // Listed or not, a port in use is shown; a speed outside the table shows none. OK on the
    // dialog as it opened keeps all of it, and the connection's name.
    struct Case {
        QString port;
        int speed;
        QString shownPort;
        QString shownSpeed;
    };
    const Case cases[] = {
        {"COM2", 6, "COM2", "19200"},
        {"COM7", 6, "COM7", "19200"},
        {"/dev/pts/7", 3, "/dev/pts/7", "2400"},
        {"ttyUSB0", 12, "ttyUSB0", ""},
        {"", 6, "", "19200"},
    };
    for (const Case& c : cases) {
        state.portName = c.port;
        state.speedIndex = static_cast<std::uint8_t>(c.speed);
        state.currentConnectionName = "Régi";
        auto d = open({"COM1", "COM2"});
        EXPECT_EQ(d->CmbCom->currentText(), c.shownPort) << c.port.toStdString();
        EXPECT_EQ(d->CmbSpeed->currentText(), c.shownSpeed) << c.port.toStdString();
        d->BtnOK->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_FALSE(d->applied()) << c.port.toStdString();
        EXPECT_EQ(state.portName, c.port);
        EXPECT_EQ(state.speedIndex, c.speed);
        EXPECT_EQ(state.currentConnectionName, "Régi");
        EXPECT_FALSE(QFile::exists(savedConnectionsPath()));
    }
}

TEST_F(ConnsetTest, APortNotListedStaysAnItemAndADevicePathCanBeTyped) {
    state.portName = "ttyACM0";
    state.speedIndex = 6;
    auto d = open({"COM1", "ttyS9", "COM2"});
    EXPECT_EQ(items(d->CmbCom), QStringList({"COM1", "COM2", "ttyACM0", "ttyS9"}));
    d->CmbCom->setFocus();
    d->CmbCom->lineEdit()->selectAll();
    QTest::keyClicks(d->CmbCom->lineEdit(), " /dev/pts/4 ");
    d->BtnOK->click();
    EXPECT_TRUE(d->applied());
    EXPECT_EQ(state.portName, "/dev/pts/4");
    EXPECT_EQ(d->panelText(), "/dev/pts/4 ( 19200 )");
    EXPECT_EQ(items(d->CmbCom).size(), 4) << "what is typed is no item";
}

TEST_F(ConnsetTest, AScriptedRunThatNeverShowsTheDialogStillStartsFromTheState) {
    state.portName = "COM2";
    state.speedIndex = 3;
    ConnectionDialog d(state, nullptr, {"COM1", "COM2"}, savedConnectionsPath());
    EXPECT_EQ(d.CmbCom->currentText(), "COM2");
    EXPECT_EQ(d.CmbSpeed->currentText(), "2400");
    d.accept();
    EXPECT_EQ(state.portName, "COM2");
    EXPECT_EQ(state.speedIndex, 3);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(ConnsetTest, ASpeedNotInTheBoxEndsUndefinedOnceSomethingChanged) {
    state.portName = "COM7";
    state.speedIndex = 12;
    auto d = open({"COM1", "COM2"});
    EXPECT_EQ(d->CmbSpeed->currentIndex(), -1);
    d->edPhone->setText("06 1");
    d->BtnOK->click();
    EXPECT_EQ(state.portName, "COM7");
    EXPECT_EQ(state.speedIndex, 255);
    EXPECT_EQ(speedTextOf(state.speedIndex), "------");
    EXPECT_EQ(d->phone(), "06 1");
}

TEST_F(ConnsetTest, ASavedConnectionIsListedAgainAndAClickFillsAllFourFields) {
    {
        auto d = open({"COM1", "COM2"});
        d->CmbCom->setCurrentText("COM2");
        d->CmbSpeed->setCurrentText("9600");
        d->edPhone->setText("06 30 123");
        d->edConn->setText("Győri iroda");
        d->BtnOK->click();
        EXPECT_EQ(state.portName, "COM2");
        EXPECT_EQ(state.speedIndex, 5);
        EXPECT_EQ(state.currentConnectionName, "Győri iroda");
        EXPECT_EQ(d->panelText(), "Győri iroda");
        EXPECT_EQ(d->phone(), "06 30 123");
    }
    state.portName = "COM1";
    state.speedIndex = 9;
    auto d = open({"COM1", "COM2"});
    EXPECT_EQ(items(d->lbConn), QStringList({"Győri iroda"}));
    EXPECT_EQ(d->edConn->text(), "");
    EXPECT_EQ(d->edPhone->text(), "");
    EXPECT_EQ(d->CmbCom->currentText(), "COM1");
    QListWidgetItem* item = d->lbConn->item(0);
    QTest::mouseClick(d->lbConn->viewport(), Qt::LeftButton, {},
                      d->lbConn->visualItemRect(item).center());
    EXPECT_EQ(d->edConn->text(), "Győri iroda");
    EXPECT_EQ(d->CmbCom->currentText(), "COM2");
    EXPECT_EQ(d->CmbSpeed->currentText(), "9600");
    EXPECT_EQ(d->edPhone->text(), "06 30 123");
}

TEST_F(ConnsetTest, SavedConnectionsAreListedInTheFilesOrder) {
    QFile f(savedConnectionsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Zala]\r\nCOM=COM77\r\nSPEED=14400\r\n[Baja]\r\nCOM=COM1\r\n[Eger]\r\n");
    f.close();
    auto d = open({"COM1", "COM2"});
    EXPECT_EQ(items(d->lbConn), QStringList({"Zala", "Baja", "Eger"}));
    // A port the system does not list is shown all the same; a speed the box does not hold
    // leaves it without a selection.
    d->lbConn->setCurrentRow(0);
    EXPECT_EQ(d->edConn->text(), "Zala");
    EXPECT_EQ(d->CmbCom->currentText(), "COM77");
    EXPECT_EQ(d->CmbSpeed->currentIndex(), -1);
    // A section without keys gives the dialog's defaults.
    d->lbConn->setCurrentRow(2);
    EXPECT_EQ(d->CmbCom->currentText(), "COM1");
    EXPECT_EQ(d->CmbSpeed->currentText(), "9600");
    EXPECT_EQ(d->edPhone->text(), "");
}

TEST_F(ConnsetTest, ANameOfSpacesOnlyShowsPortAndSpeedAndSavesNothing) {
    auto d = open({"COM1", "COM2"});
    d->CmbCom->setCurrentText("COM1");
    d->CmbSpeed->setCurrentText("2400");
    d->edConn->setText("   ");
    d->BtnOK->click();
    EXPECT_EQ(d->panelText(), "COM1 ( 2400 )");
    EXPECT_EQ(state.currentConnectionName, "   ");
    EXPECT_TRUE(savedConnectionNames().isEmpty());
}

TEST_F(ConnsetTest, OnlyOkClosesTheDialog) {
    state.currentConnectionName = "megmarad";
    auto d = open();
    QTest::keyClick(d.get(), Qt::Key_Escape);
    d->close();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(state.currentConnectionName, "megmarad");
    d->edPhone->setText("1");
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(state.currentConnectionName, "");
}

} // namespace
} // namespace zx
