// The XP command button in a dialog: clicks and keys through the window, its faces, the hover poll.
#include "UserInput.h"
#include "controls/xpcmdbutton.h"

#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

class TestXpCmdButton : public QObject
{
    Q_OBJECT

    std::unique_ptr<QDialog> dialog;
    xpcmdbutton *ok = nullptr, *cancel = nullptr;
    std::unique_ptr<QSignalSpy> okClicks, cancelClicks;

    // Mouse and cursor at a point of OK, through the dialog's window.
    QPoint at(int x, int y) const { return ok->mapTo(dialog.get(), QPoint(x, y)); }
    QWindow *win() const { return dialog->windowHandle(); }
    void cursorTo(int x, int y) { QCursor::setPos(ok->mapToGlobal(QPoint(x, y))); }
    void key(Qt::Key key) { UserInput::key(dialog.get(), key); }
    // The face OK shows, its caption and focus mark left out.
    QImage face() const
    {
        QImage shot = ok->grab().toImage();
        QPainter(&shot).fillRect(ok->rect().adjusted(3, 3, -3, -3), Qt::black);
        return shot;
    }

private slots:
    void init()
    {
        dialog = std::make_unique<QDialog>();
        dialog->setGeometry(100, 100, 300, 120);
        auto *edit = new QLineEdit(dialog.get());
        edit->setGeometry(10, 10, 200, 22);
        ok = new xpcmdbutton(dialog.get());
        ok->setGeometry(10, 50, 75, 23);
        cancel = new xpcmdbutton(dialog.get());
        cancel->setGeometry(100, 50, 75, 23);
        okClicks = std::make_unique<QSignalSpy>(ok, &xpcmdbutton::Click);
        cancelClicks = std::make_unique<QSignalSpy>(cancel, &xpcmdbutton::Click);
        QCursor::setPos(0, 0);
        QVERIFY(UserInput::bringUp(dialog.get()));
        QTRY_VERIFY(edit->hasFocus());
    }
    void cleanup() { dialog.reset(); }

    // On the caption or on the border; a double click is one click.
    void clickWhereDrawnFiresOnce()
    {
        ok->setCaption("OK");
        UserInput::click(ok);
        UserInput::click(ok, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        UserInput::click(ok, Qt::RightButton);
        UserInput::doubleClick(ok);
        QCOMPARE(okClicks->count(), 3);
    }

    // Only a release over the button clicks, after a drag off and back too.
    void pressDragOffReleaseDoesNotClick()
    {
        for (int back : {0, 1}) {
            QTest::mousePress(win(), Qt::LeftButton, {}, at(20, 10));
            QTest::mouseMove(win(), at(20, 60));
            QTest::mouseMove(win(), at(20, back ? 10 : 60));
            QTest::mouseRelease(win(), Qt::LeftButton, {}, at(20, back ? 10 : 60));
            QCOMPARE(okClicks->count(), back);
        }
    }

    // Enter typed into the text box presses the one default button, if
    // enabled; a disabled button takes no input at all. With OK focused and
    // Cancel the default, Space and Enter click OK; Escape goes on to the dialog.
    void keysAndTheDefaultButton()
    {
        QSignalSpy rejected(dialog.get(), &QDialog::rejected);
        key(Qt::Key_Return); // no default button yet
        cancel->setDefault(true);
        ok->setDefault(true);
        key(Qt::Key_Return);
        key(Qt::Key_Enter);
        ok->setEnabled(false);
        UserInput::click(ok);
        key(Qt::Key_Return);
        key(Qt::Key_Tab); // passes the disabled button by
        QTRY_VERIFY(cancel->hasFocus());
        key(Qt::Key_Space);
        QCOMPARE(okClicks->count(), 2);
        QCOMPARE(cancelClicks->count(), 1);
        ok->setEnabled(true);
        cancel->setDefault(true);
        key(Qt::Key_Backtab);
        QTRY_VERIFY(ok->hasFocus());
        for (Qt::Key k : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape})
            key(k);
        QCOMPARE(okClicks->count(), 4);
        QCOMPARE(cancelClicks->count() + rejected.count(), 2);
    }

    // Rest, hover, pressed, default and disabled each draw their own face;
    // a release and the poll that finds the cursor gone bring back the rest.
    void facesAndTheHoverPoll()
    {
        QSignalSpy outs(ok, &xpcmdbutton::MouseOut);
        const QImage rest = face();
        cursorTo(20, 10);
        QTRY_VERIFY(face() != rest);
        const QImage hot = face();
        QTest::mousePress(win(), Qt::LeftButton, {}, at(20, 10));
        const QImage pressed = face();
        QTest::mouseRelease(win(), Qt::LeftButton, {}, at(20, 10));
        QCOMPARE(face(), rest);
        cursorTo(20, 40);
        QTRY_COMPARE(outs.count(), 1);
        ok->setState(1);
        const QImage byDefault = face();
        ok->setState(0);
        QCOMPARE(face(), rest);
        // Disabled under the cursor: at once, and the leave is still seen.
        cursorTo(20, 10);
        QTRY_COMPARE(face(), hot);
        ok->setEnabled(false);
        const QImage disabled = face();
        cursorTo(20, 40);
        QTRY_COMPARE(outs.count(), 2);
        QCOMPARE(face(), disabled);
        const QList<QImage> faces{rest, hot, pressed, byDefault, disabled};
        for (int i = 0; i < faces.size(); ++i)
            for (int j = i + 1; j < faces.size(); ++j)
                QVERIFY2(faces[i] != faces[j], qPrintable(QString("%1 = %2").arg(i).arg(j)));
    }
};

QTEST_MAIN(TestXpCmdButton)
#include "tst_xpcmdbutton.moc"
