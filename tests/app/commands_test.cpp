// The buttons' commands offscreen, clicked as a user would, with the
// in-process clipboard.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <memory>

#include "main_window.h"
#include "offscreen_notices.h"
#include "text_boxes.h"
#include "window_description.h"

using namespace morvane;

namespace {

QByteArray bytes_of(const std::optional<std::string>& text) {
  return text ? QByteArray(text->data(), static_cast<qsizetype>(text->size())) : QByteArray();
}

std::string_view view_of(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray clipboard_bytes() {
  return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toUtf8();
}

void set_clipboard(const QByteArray& utf8) {
  QGuiApplication::clipboard()->setText(qstring_from_narrow(view_of(utf8)), QClipboard::Clipboard);
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> window_;

  void click(const char* button) {
    auto* widget = window_->findChild<QAbstractButton*>(QString::fromUtf8(button));
    QVERIFY2(widget != nullptr, button);
    QTest::mouseClick(widget, Qt::LeftButton);
  }
  EditBox& source() const { return window_->edit_box(kSourceBoxName); }
  EditBox& result() const { return window_->edit_box(kResultBoxName); }

 private Q_SLOTS:
  void initTestCase() { test::install_offscreen_notice_filter(); }

  void init() {
    window_ = create_main_window();
    QVERIFY(window_ != nullptr);
    show_main_window(*window_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
  }
  void cleanup() { window_.reset(); }

  void conversion_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Unicode") << QByteArray("按钮_Unicode") << QByteArray("中A")
                             << QByteArray("&#20013;&#65;");
    QTest::newRow("ASCII") << QByteArray("按钮_ASCII") << QByteArray("中A")
                           << QByteArray("\\u4e2d\\u0041");
    QTest::newRow("ASCII emoji as a pair")
        << QByteArray("按钮_ASCII") << QByteArray("\xF0\x9F\x98\x80")
        << QByteArray("\\ud83d\\ude00");
    QTest::newRow("ASCII leading U+FEFF") << QByteArray("按钮_ASCII")
                                          << QByteArray(
                                                 "\xEF\xBB\xBF"
                                                 "a")
                                          << QByteArray("\\ufeff\\u0061");
    QTest::newRow("UTF-8") << QByteArray("按钮_UTF8") << QByteArray("中A")
                           << QByteArray("&#x4e2d;&#x0041;");
    QTest::newRow("back to characters")
        << QByteArray("按钮_转回汉字") << QByteArray("\\u4e2d&#25991;&#x41;")
        << QByteArray("中文A");
    QTest::newRow("URL encode") << QByteArray("按钮_URL编码") << QByteArray("中 a&b")
                                << QByteArray("%E4%B8%AD%20a%26b");
    QTest::newRow("URL decode") << QByteArray("按钮_URL解码") << QByteArray("%E4%B8%AD%20a%26b")
                                << QByteArray("中 a&b");
    QTest::newRow("URL encode CR LF")
        << QByteArray("按钮_URL编码") << QByteArray("a\r\nb") << QByteArray("a%0D%0Ab");
  }
  void conversion() {
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    write_box_text(source(), view_of(input));
    write_box_text(result(), "old result");
    click(button.constData());
    QCOMPARE(bytes_of(read_box_text(result())), expected);
    QCOMPARE(bytes_of(read_box_text(source())), input);  // the source stays
    // Twice in a row replaces the result, it does not append.
    click(button.constData());
    QCOMPARE(bytes_of(read_box_text(result())), expected);
  }

  void empty_source_empties_the_result_data() {
    QTest::addColumn<QByteArray>("button");
    for (const char* button : {"按钮_Unicode", "按钮_ASCII", "按钮_UTF8", "按钮_转回汉字",
                               "按钮_URL编码", "按钮_URL解码"}) {
      QTest::newRow(button) << QByteArray(button);
    }
  }
  void empty_source_empties_the_result() {
    QFETCH(QByteArray, button);
    write_box_text(result(), "old result");
    click(button.constData());
    QVERIFY(!read_box_text(result()).has_value());
  }

  void failure_empties_then_next_press_works_data() {
    QTest::addColumn<QByteArray>("bad");
    QTest::newRow("truncated UTF-8 sequence") << QByteArray("%E4%B8");
    QTest::newRow("lone percent") << QByteArray("%");
    QTest::newRow("percent without hex digits") << QByteArray("%G1");
    QTest::newRow("encoded lone surrogate") << QByteArray("%ED%A0%80");
  }
  void failure_empties_then_next_press_works() {
    QFETCH(QByteArray, bad);
    write_box_text(result(), "old result");
    write_box_text(source(), view_of(bad));
    click("按钮_URL解码");
    QVERIFY(!read_box_text(result()).has_value());
    QVERIFY(QApplication::activeModalWidget() == nullptr);  // no message box
    write_box_text(source(), "%41");
    click("按钮_URL解码");
    QCOMPARE(bytes_of(read_box_text(result())), QByteArray("A"));
  }

  void lone_surrogate_crosses_as_replacement() {
    // A lone surrogate cannot be narrow text: it reaches "URL编码" as U+FFFD.
    source().replace_contents(QString(QChar(0xD800)));
    click("按钮_URL编码");
    QCOMPARE(bytes_of(read_box_text(result())), QByteArray("%EF%BF%BD"));
  }

  void each_press_adds_the_procedure() {
    QVERIFY(window_->script_host().procedures().empty());
    write_box_text(source(), "a");
    click("按钮_UTF8");
    click("按钮_ASCII");
    QCOMPARE(window_->script_host().procedures().size(), std::size_t{2});
  }

  void keyboard_activation_clicks() {
    write_box_text(source(), "A");
    auto* button = window_->findChild<QAbstractButton*>(QStringLiteral("按钮_ASCII"));
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(bytes_of(read_box_text(result())), QByteArray("\\u0041"));
  }

  void paste_data() {
    QTest::addColumn<QByteArray>("clipboard");
    QTest::newRow("Chinese") << QByteArray("中文");
    QTest::newRow("emoji") << QByteArray("a\xF0\x9F\x98\x80");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n");
    QTest::newRow("leading U+FEFF") << QByteArray(
        "\xEF\xBB\xBF"
        "abc");
    QByteArray long_text;
    while (long_text.size() < 120'000) long_text += "中a😀\r\n";
    QTest::newRow("more than 40000 characters") << long_text;
  }
  void paste() {
    QFETCH(QByteArray, clipboard);
    write_box_text(source(), "old source");
    set_clipboard(clipboard);
    click("按钮_粘贴");
    QCOMPARE(bytes_of(read_box_text(source())), clipboard);
  }

  void paste_without_text_empties() {
    write_box_text(source(), "old source");
    click("按钮_粘贴");  // the clipboard was cleared
    QVERIFY(!read_box_text(source()).has_value());
    write_box_text(source(), "old source");
    auto* image_only = new QMimeData;
    image_only->setData("image/png", QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(image_only, QClipboard::Clipboard);
    click("按钮_粘贴");
    QVERIFY(!read_box_text(source()).has_value());
  }

  void copy_puts_plain_text() {
    write_box_text(result(), "\xEF\xBB\xBF中\r\n😀");
    click("按钮_复制");
    QCOMPARE(clipboard_bytes(), QByteArray("\xEF\xBB\xBF中\r\n😀"));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    QVERIFY(data->hasText());
    QVERIFY(!data->hasHtml());
  }

  void copy_of_empty_box_empties_the_clipboard() {
    set_clipboard("before");
    click("按钮_复制");
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard), QString());
  }

  void copy_takes_the_users_edits() {
    write_box_text(result(), "ab");
    auto* box = dynamic_cast<QWidget*>(&result());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(box, "c");
    click("按钮_复制");
    QCOMPARE(clipboard_bytes(), QByteArray("abc"));
  }

  void chain_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("clipboard");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("Unicode") << QByteArray("按钮_Unicode1") << QByteArray("中")
                             << QByteArray("&#20013;");
    QTest::newRow("ASCII") << QByteArray("按钮_ASCII1") << QByteArray("中")
                           << QByteArray("\\u4e2d");
    QTest::newRow("UTF-8") << QByteArray("按钮_UTF1") << QByteArray("中") << QByteArray("&#x4e2d;");
    QTest::newRow("ASCII with U+FEFF and CR LF")
        << QByteArray("按钮_ASCII1") << QByteArray("\xEF\xBB\xBF\r\n")
        << QByteArray("\\ufeff\\u000d\\u000a");
    QTest::newRow("empty clipboard") << QByteArray("按钮_Unicode1") << QByteArray() << QByteArray();
  }
  void chain() {
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, clipboard);
    QFETCH(QByteArray, escaped);
    write_box_text(source(), "old source");
    write_box_text(result(), "old result");
    if (!clipboard.isEmpty()) set_clipboard(clipboard);
    click(button.constData());
    QCOMPARE(bytes_of(read_box_text(source())), clipboard);
    QCOMPARE(bytes_of(read_box_text(result())), escaped);
    QCOMPARE(clipboard_bytes(), escaped);
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
