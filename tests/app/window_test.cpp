// The main window offscreen: built from its description, its keys and focus,
// and the box operations the commands rely on.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <memory>
#include <vector>

#include "main_window.h"
#include "offscreen_notices.h"
#include "placement.h"
#include "text_boxes.h"
#include "window_description.h"

using namespace morvane;

namespace {

QString qt_name(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QByteArray bytes_of(const std::optional<std::string>& text) {
  return text ? QByteArray(text->data(), static_cast<qsizetype>(text->size())) : QByteArray();
}

// The focus order by name, written out as the window is meant to cycle.
const QStringList kFocusOrder = {
    "编辑框0",    "按钮_Unicode", "编辑框1",       "按钮_复制",    "按钮_粘贴",
    "按钮_ASCII", "按钮_UTF8",    "按钮_转回汉字", "按钮_URL编码", "按钮_URL解码",
    "按钮_UTF1",  "按钮_ASCII1",  "按钮_Unicode1",
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> window_;

  QWidget* control(const QString& name) const {
    return window_->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
  }
  QString focused_name() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QString("(none)");
  }
  EditBox& box(const QString& name) const { return window_->edit_box(name.toStdString()); }

 private Q_SLOTS:
  void initTestCase() { test::install_offscreen_notice_filter(); }

  void init() {
    window_ = create_main_window();
    QVERIFY(window_ != nullptr);
    show_main_window(*window_);
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void centred_place_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("1024x768") << QSize(1024, 768) << QPoint(112, 134);
    QTest::newRow("640x480 partly off the screen") << QSize(640, 480) << QPoint(-80, -10);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QPoint(560, 290);
    QTest::newRow("odd sizes truncate") << QSize(1023, 767) << QPoint(111, 133);
    QTest::newRow("one short truncates toward zero") << QSize(799, 499) << QPoint(0, 0);
    QTest::newRow("three short truncates toward zero") << QSize(797, 497) << QPoint(-1, -1);
  }
  void centred_place() {
    QFETCH(QSize, screen);
    QFETCH(QPoint, place);
    QCOMPARE(morvane::centred_place(screen, QSize(800, 500)), place);
  }

  void client_size_within_frame() {
    QCOMPARE(client_size_within({800, 500}, {}), QSize(800, 500));
    QCOMPARE(client_size_within({800, 500}, {4, 30, 5, 6}), QSize(791, 464));
  }

  void window_settings() {
    QCOMPARE(window_->windowTitle(), QString("Morvane"));
    QCOMPARE(window_->frameGeometry().size(), QSize(800, 500));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window_->frameGeometry().topLeft(),
             screen.topLeft() + morvane::centred_place(screen.size(), {800, 500}));
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window_->windowType(), Qt::Window);
    QVERIFY(window_->parentWidget() == nullptr);
    QVERIFY(!window_->windowIcon().pixmap(32).isNull());
  }

  void controls_in_creation_order() {
    const QStringList expected = {
        "编辑框0",   "脚本组件",   "按钮_Unicode", "标签_原始字符", "编辑框1",      "按钮_复制",
        "按钮_粘贴", "按钮_ASCII", "按钮_UTF8",    "按钮_转回汉字", "按钮_URL编码", "按钮_URL解码",
        "标签1",     "按钮_UTF1",  "按钮_ASCII1",  "按钮_Unicode1",
    };
    QStringList names;
    for (const QObject* child : window_->children()) {
      if (!child->objectName().isEmpty()) names << child->objectName();
    }
    QCOMPARE(names, expected);
  }

  void control_data() {
    QTest::addColumn<int>("index");
    const auto controls = main_window_description().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      QTest::newRow(std::string(controls[i].name).c_str()) << static_cast<int>(i);
    }
  }
  void control() {
    QFETCH(int, index);
    const ControlDescription& described =
        main_window_description().controls[static_cast<std::size_t>(index)];
    const QString name = qt_name(described.name);
    QObject* object = window_->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(object != nullptr);
    const QString text = qt_name(described.text);

    if (described.kind == ControlKind::kScriptComponent) {
      QVERIFY(qobject_cast<ScriptComponent*>(object) != nullptr);
      QVERIFY(!object->isWidgetType());  // shows nothing
      return;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    QVERIFY(widget != nullptr);
    const Place& place = described.place;
    QCOMPARE(widget->geometry(), QRect(place.left, place.top, place.width, place.height));
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());
    QCOMPARE(widget->focusPolicy(), described.takes_focus ? Qt::StrongFocus : Qt::NoFocus);

    switch (described.kind) {
      case ControlKind::kOneLineEditBox: {
        auto* box = qobject_cast<QLineEdit*>(widget);
        QVERIFY(box != nullptr);
        QVERIFY(box->text().isEmpty());
        QVERIFY(box->maxLength() > 1'000'000);
        QVERIFY(box->alignment().testFlag(Qt::AlignLeft));
        QVERIFY(!box->isReadOnly());
        break;
      }
      case ControlKind::kMultiLineEditBox: {
        auto* box = qobject_cast<QPlainTextEdit*>(widget);
        QVERIFY(box != nullptr);
        QVERIFY(box->toPlainText().isEmpty());
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(box->tabChangesFocus());
        break;
      }
      case ControlKind::kPushButton: {
        auto* button = qobject_cast<QPushButton*>(widget);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY(button->icon().isNull());
        QVERIFY(!text.contains(u'&'));  // no mnemonic
        break;
      }
      case ControlKind::kLabel:
      case ControlKind::kMultiLineLabel: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->wordWrap(), described.kind == ControlKind::kMultiLineLabel);
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        QVERIFY(label->alignment().testFlag(described.kind == ControlKind::kLabel ? Qt::AlignVCenter
                                                                                  : Qt::AlignTop));
        break;
      }
      case ControlKind::kScriptComponent:
        break;
    }

    const QFont font = widget->font();
    if (described.font == ControlFont::kBoxFont) {
      QCOMPARE(font.pixelSize(), 16);
      QCOMPARE(font.weight(), QFont::Normal);
      QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
      QCOMPARE(font.family(), QApplication::font().family());
    } else {
      QCOMPARE(font, QApplication::font(widget));
    }
  }

  void visible_controls_do_not_overlap() {
    std::vector<QRect> places;
    for (const ControlDescription& control : main_window_description().controls) {
      if (control.kind == ControlKind::kScriptComponent) continue;
      const QRect place(control.place.left, control.place.top, control.place.width,
                        control.place.height);
      QVERIFY(place.right() < 780 && place.bottom() < 455);
      for (const QRect& other : places) QVERIFY(!place.intersects(other));
      places.push_back(place);
    }
  }

  void label_texts() {
    QCOMPARE(qobject_cast<QLabel*>(control("标签1"))->text(),
             QString::fromUtf8("自动：\r\n\r\n粘贴，转换，复制"));
    QCOMPARE(qobject_cast<QLabel*>(control("标签_原始字符"))->text(), QString("原始字符"));
  }

  void initial_focus_and_caret() {
    QCOMPARE(focused_name(), QString("编辑框0"));
    auto* source = qobject_cast<QLineEdit*>(control("编辑框0"));
    QCOMPARE(source->cursorPosition(), 0);
    QVERIFY(!source->hasSelectedText());
    QTest::keyClicks(QApplication::focusWidget(), "typed");
    QCOMPARE(source->text(), QString("typed"));
  }

  void created_handler_puts_caret_at_end() {
    write_box_text(box("编辑框0"), "abc");
    on_main_window_created(*window_);
    auto* source = qobject_cast<QLineEdit*>(control("编辑框0"));
    QCOMPARE(source->cursorPosition(), 3);
    QVERIFY(!source->hasSelectedText());
  }

  void tab_cycles_forward() {
    QStringList visited{focused_name()};
    for (qsizetype i = 0; i < kFocusOrder.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << focused_name();
    }
    QCOMPARE(visited, kFocusOrder + QStringList{"编辑框0"});
  }

  void shift_tab_cycles_backward() {
    QStringList visited{focused_name()};
    for (qsizetype i = 0; i < kFocusOrder.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
      visited << focused_name();
    }
    QStringList expected{"编辑框0"};
    for (qsizetype i = kFocusOrder.size() - 1; i >= 0; --i) expected << kFocusOrder[i];
    QCOMPARE(visited, expected);
  }

  void tab_inserts_nothing() {
    for (const QString name : {"编辑框0", "编辑框1"}) {
      control(name)->setFocus();
      QTest::keyClick(control(name), Qt::Key_Tab);
      QVERIFY(!read_box_text(box(name)).has_value());
    }
  }

  void escape_closes_data() {
    QTest::addColumn<QString>("focused");
    QTest::newRow("source box") << "编辑框0";
    QTest::newRow("result box") << "编辑框1";
    QTest::newRow("button") << "按钮_URL编码";
  }
  void escape_closes() {
    QFETCH(QString, focused);
    QWidget* widget = control(focused);
    widget->setFocus();
    QTest::keyClicks(widget, "some text");
    QTest::keyClick(widget, Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
  }

  void enter_in_result_box_starts_a_line() {
    QWidget* result = control("编辑框1");
    result->setFocus();
    QTest::keyClicks(result, "ab");
    QTest::keyClick(result, Qt::Key_Return);
    QTest::keyClicks(result, "cd");
    QCOMPARE(bytes_of(read_box_text(box("编辑框1"))), QByteArray("ab\ncd"));
    QCOMPARE(focused_name(), QString("编辑框1"));
  }

  void enter_elsewhere_does_nothing_data() {
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    for (const QString name : {"编辑框0", "按钮_Unicode", "按钮_复制", "按钮_Unicode1"}) {
      QTest::newRow(qPrintable(name + " Return")) << name << int(Qt::Key_Return);
      QTest::newRow(qPrintable(name + " Enter")) << name << int(Qt::Key_Enter);
    }
  }
  void enter_elsewhere_does_nothing() {
    QFETCH(QString, focused);
    QFETCH(int, key);
    write_box_text(box("编辑框0"), "abc");
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
      clicks.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
    }
    control(focused)->setFocus();
    QTest::keyClick(control(focused), static_cast<Qt::Key>(key));
    QCOMPARE(focused_name(), focused);
    QCOMPARE(bytes_of(read_box_text(box("编辑框0"))), QByteArray("abc"));
    QVERIFY(!read_box_text(box("编辑框1")).has_value());
    for (const auto& spy : clicks) QCOMPARE(spy->count(), 0);
    QVERIFY(window_->isVisible());
  }

  void f1_does_nothing() {
    for (const QString name : {"编辑框0", "编辑框1", "按钮_粘贴"}) {
      control(name)->setFocus();
      QTest::keyClick(control(name), Qt::Key_F1);
      QCOMPARE(focused_name(), name);
    }
    QVERIFY(window_->isVisible());
    QVERIFY(!read_box_text(box("编辑框0")).has_value());
    QVERIFY(!read_box_text(box("编辑框1")).has_value());
  }

  void focus_returns_after_reactivation() {
    control("按钮_ASCII")->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QCOMPARE(focused_name(), QString("按钮_ASCII"));
  }

  void selection_hidden_without_focus() {
    for (const QString name : {"编辑框0", "编辑框1"}) {
      QWidget* widget = control(name);
      widget->setFocus();
      QVERIFY(widget->palette().color(QPalette::Highlight) !=
              widget->palette().color(QPalette::Base));
      control("按钮_复制")->setFocus();
      for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        QCOMPARE(widget->palette().color(group, QPalette::Highlight),
                 widget->palette().color(group, QPalette::Base));
        QCOMPARE(widget->palette().color(group, QPalette::HighlightedText),
                 widget->palette().color(group, QPalette::Text));
      }
    }
  }

  void result_box_wraps_long_lines() {
    write_box_text(box("编辑框1"), std::string(20'000, 'x'));
    auto* result = qobject_cast<QPlainTextEdit*>(control("编辑框1"));
    QVERIFY(result->verticalScrollBar()->maximum() > 0);
    QVERIFY(!result->horizontalScrollBar()->isVisible());
    QCOMPARE(result->horizontalScrollBar()->maximum(), 0);
  }

  // Box operations, both boxes alike.
  void text_kept_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("narrow");
    std::string long_text;
    while (long_text.size() < 40'000 * 2) long_text += "中A😀b\r\n";  // astral, CR LF
    for (const QString name : {"编辑框0", "编辑框1"}) {
      const auto row = [&](const char* what) { return (name + ": " + what).toUtf8(); };
      QTest::newRow(row("ASCII").constData()) << name << QByteArray("abc");
      QTest::newRow(row("leading U+FEFF").constData()) << name
                                                       << QByteArray(
                                                              "\xEF\xBB\xBF"
                                                              "abc");
      QTest::newRow(row("only U+FEFF").constData()) << name << QByteArray("\xEF\xBB\xBF");
      QTest::newRow(row("CR LF, lone CR and LF").constData()) << name << QByteArray("a\r\nb\rc\nd");
      QTest::newRow(row("NBSP and U+2029").constData()) << name
                                                        << QByteArray(
                                                               "a\xC2\xA0"
                                                               "b\xE2\x80\xA9"
                                                               "c");
      QTest::newRow(row("Chinese and emoji").constData()) << name
                                                          << QByteArray(
                                                                 "中文\xF0\x9F\x98\x80"
                                                                 "z");
      QTest::newRow(row("more than 40000 characters").constData())
          << name << QByteArray(long_text.data(), static_cast<qsizetype>(long_text.size()));
    }
  }
  void text_kept() {
    QFETCH(QString, box);
    QFETCH(QByteArray, narrow);
    write_box_text(this->box(box), std::string_view(narrow.constData(), narrow.size()));
    QCOMPARE(bytes_of(read_box_text(this->box(box))), narrow);
  }

  void forty_thousand_characters_kept_whole() {
    QString text;
    for (int i = 0; i < 40'000; ++i) text += QChar(u'一' + i % 1000);
    const std::string narrow = narrow_from_qstring(text);
    for (const QString name : {"编辑框0", "编辑框1"}) {
      write_box_text(box(name), narrow);
      QCOMPARE(box(name).contents().size(), 40'000);
      QVERIFY(read_box_text(box(name)) == narrow);
    }
  }

  void no_text_empties_the_box() {
    for (const QString name : {"编辑框0", "编辑框1"}) {
      QVERIFY(!read_box_text(box(name)).has_value());
      write_box_text(box(name), "x");
      write_box_text(box(name), std::nullopt);
      QVERIFY(!read_box_text(box(name)).has_value());
      write_box_text(box(name), "x");
      write_box_text(box(name), "");
      QVERIFY(!read_box_text(box(name)).has_value());
    }
  }

  void lone_surrogate_reads_as_replacement() {
    for (const QString name : {"编辑框0", "编辑框1"}) {
      box(name).replace_contents(QString("a") + QChar(0xD800) + QString("b"));
      QCOMPARE(bytes_of(read_box_text(box(name))), QByteArray("a\xEF\xBF\xBD"
                                                              "b"));
    }
  }

  void user_edits_are_read() {
    write_box_text(box("编辑框1"), "a\r\nb");
    QWidget* result = control("编辑框1");
    result->setFocus();
    QTest::keyClick(result, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(result, "c");
    QCOMPARE(bytes_of(read_box_text(box("编辑框1"))), QByteArray("a\nbc"));
  }

  void selection_start_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    // "中文abc" with "中文" (6 narrow units) selected first.
    for (const QString name : {"编辑框0", "编辑框1"}) {
      const auto row = [&](const char* what) { return (name + ": " + what).toUtf8(); };
      QTest::newRow(row("-1 goes to the end").constData()) << name << -1 << 5 << 0;
      QTest::newRow(row("0 keeps the length").constData()) << name << 0 << 0 << 2;
      QTest::newRow(row("3 is after the first character").constData()) << name << 3 << 1 << 4;
      QTest::newRow(row("inside a character rounds down").constData()) << name << 4 << 1 << 4;
      QTest::newRow(row("other negatives count as 0").constData()) << name << -7 << 0 << 2;
      QTest::newRow(row("past the end clamps").constData()) << name << 100 << 5 << 0;
    }
  }
  void selection_start() {
    QFETCH(QString, box);
    QFETCH(int, position);
    QFETCH(int, start);
    QFETCH(int, length);
    EditBox& edit = this->box(box);
    write_box_text(edit, "中文abc");
    edit.select(0, 2);
    set_box_selection_start(edit, position);
    QCOMPARE(edit.selection_start(), start);
    QCOMPARE(edit.selection_length(), length);
  }

  void selection_start_minus_one_on_abc() {
    for (const QString name : {"编辑框0", "编辑框1"}) {
      write_box_text(box(name), "abc");
      set_box_selection_start(box(name), -1);
      QCOMPARE(box(name).selection_start(), 3);
      QCOMPARE(box(name).selection_length(), 0);
    }
  }

  void incomplete_description_fails_the_build() {
    WindowDescription without_result_box = main_window_description();
    without_result_box.controls = without_result_box.controls.first(4);
    without_result_box.bindings = {};  // nothing else to miss
    QVERIFY(create_main_window(without_result_box) == nullptr);

    const std::array unknown_button{
        EventBinding{"按钮_不存在", Event::kClick, on_main_window_created}};
    WindowDescription dangling_binding = main_window_description();
    dangling_binding.bindings = unknown_button;
    QVERIFY(create_main_window(dangling_binding) == nullptr);
  }

  void script_component_owns_an_available_host() {
    QVERIFY(window_->script_host().available());
    QVERIFY(window_->script_host().procedures().empty());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
