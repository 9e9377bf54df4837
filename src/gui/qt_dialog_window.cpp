#include "gui/qt_dialog_window.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <algorithm>
#include <string>

#include "app/command_texts.h"
#include "gui/about_box.h"
#include "gui/app_icon.h"
#include "gui/dialog_units.h"
#include "gui/gui_thread.h"
#include "gui/left_scroll_text_edit.h"
#include "gui/status_line.h"
#include "gui/wrapping_push_button.h"

namespace quirlex::gui {
namespace {

// Size of the client area and of the two text boxes, in dialog units; the
// boxes take up whatever the window grows beyond this size. The status line
// sits below the lower box, in a strip of its own at the bottom.
constexpr int kWindowWidth = 322;
constexpr int kWindowHeight = 310;
constexpr int kBoxLeft = 7;
constexpr int kBoxWidth = 308;
constexpr int kUpperTop = 89;
constexpr int kUpperHeight = 96;
constexpr int kLowerTop = 194;
constexpr int kLowerHeight = 99;
constexpr int kStatusTop = 297;
constexpr int kStatusHeight = 10;

constexpr CheckBox kCheckBoxes[] = {CheckBox::kDeepSearch, CheckBox::kSort, CheckBox::kFrequency,
                                    CheckBox::kCompounds, CheckBox::kKeepPunctuation};

// A label as wide as its place in the layout, or wider when the window's
// font needs more room for its text.
QLabel* make_label(const QString& text, const QRect& place, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QRect geometry = place;
  geometry.setWidth(std::max(place.width(), label->fontMetrics().horizontalAdvance(text) + 1));
  label->setGeometry(geometry);
  return label;
}

QString from_utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtDialogWindow::QtDialogWindow(std::unique_ptr<ModalDialogs> dialogs,
                               std::unique_ptr<QSettings> settings, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      dialogs_(std::move(dialogs)),
      settings_store_(std::move(settings)),
      settings_(settings_store_.get()),
      commands_(*this),
      icon_(application_icon()) {
  setWindowTitle(QString::fromLatin1(kTitle));
  setWindowIcon(icon_);
  make_controls();
  const QSize size = DialogUnits(font()).size(kWindowWidth, kWindowHeight);
  setMinimumSize(size);
  resize(size);
  commands_.initialize();
  restore_check_boxes();
}

void QtDialogWindow::restore_check_boxes() {
  for (const CheckBox box : kCheckBoxes) {
    if (const std::optional<bool> checked = settings_.check_box(box)) {
      check_box(box)->setChecked(*checked);
    }
    connect(check_box(box), &QCheckBox::toggled, this,
            [this, box](bool checked) { settings_.set_check_box(box, checked); });
  }
}

QtDialogWindow::~QtDialogWindow() {
  // The command still calls the window; it must end before the widgets go.
  destroying_ = true;
  closing_ = true;
  stop_command();
  wait_for_command();
}

void QtDialogWindow::make_controls() {
  const DialogUnits units(font());

  // Made in tab order, which is also the order in which Qt passes the focus
  // on: row by row, left to right, then the two text boxes.
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setGeometry(units.rect(203, 28, 50, 16));
  cancel->hide();
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // The check boxes are only the box; the text beside each is a label of its
  // own, so it gets the label's name for screen readers.
  const auto make_check_box = [&](const char* caption, int x, int y, int label_width,
                                  int label_height) {
    auto* box = new QCheckBox(this);
    box->setGeometry(units.rect(x, y, 10, 9));
    const QLabel* label = make_label(QString::fromUtf8(caption),
                                     units.rect(x + 16, y, label_width, label_height), this);
    box->setAccessibleName(label->text());
    command_controls_.append(box);
    return box;
  };

  add_command_button(new QPushButton(QStringLiteral("Load"), this), [this](std::stop_token) { return commands_.load(); })
      ->setGeometry(units.rect(7, 7, 60, 19));
  add_command_button(new WrappingPushButton(QStringLiteral("Create Dictionary"), this),
                     [this](std::stop_token stop) { return commands_.create_dictionary(std::move(stop)); })
      ->setGeometry(units.rect(70, 7, 60, 19));
  sort_ = make_check_box("Sort the words (= optimal compression)", 135, 10, 152, 8);

  add_command_button(new QPushButton(QStringLiteral("Shuffle"), this), [this](std::stop_token) { return commands_.shuffle(); })
      ->setGeometry(units.rect(7, 26, 60, 19));
  add_command_button(new WrappingPushButton(QStringLiteral("Load Dictionary"), this),
                     [this](std::stop_token stop) { return commands_.load_dictionary(std::move(stop)); })
      ->setGeometry(units.rect(70, 26, 60, 19));
  deep_search_ = make_check_box("Deep Search", 135, 31, 41, 11);
  // Shuffle's option, on Shuffle's row.
  keep_punctuation_ = make_check_box("Keep punctuation in place", 200, 31, 99, 11);

  add_command_button(new QPushButton(QStringLiteral("Save"), this), [this](std::stop_token) { return commands_.save(); })
      ->setGeometry(units.rect(7, 44, 60, 19));
  add_command_button(new WrappingPushButton(QStringLiteral("Load shuffled text"), this),
                     [this](std::stop_token) { return commands_.load_shuffled_text(); })
      ->setGeometry(units.rect(70, 44, 60, 20));
  // The options beyond the classic commands sit in the free space below
  // Deep Search, off at start.
  frequency_ = make_check_box("Order by frequency (= best restoring)", 135, 44, 152, 8);
  compounds_ = make_check_box("All best restoring steps", 135, 56, 100, 8);

  add_command_button(new QPushButton(QStringLiteral("Translate"), this), [this](std::stop_token) { return commands_.translate(); })
      ->setGeometry(units.rect(70, 65, 60, 19));
  // Beside Translate, in the free row above the text boxes; idle and
  // disabled while no command runs.
  progress_ = new QProgressBar(this);
  progress_->setGeometry(units.rect(135, 68, 114, 13));
  progress_->setRange(0, 100);
  progress_->setAccessibleName(QStringLiteral("Progress"));
  progress_->reset();
  stop_button_ = new QPushButton(QStringLiteral("Stop"), this);
  stop_button_->setGeometry(units.rect(255, 65, 60, 19));
  stop_button_->setEnabled(false);
  connect(stop_button_, &QPushButton::clicked, this, &QtDialogWindow::stop_command);

  // Output only: no command reads a box back, so nothing typed may seem to
  // change what a command works on. Their text can be selected and copied.
  const auto make_text_box = [this](const char* name) {
    auto* box = new LeftScrollTextEdit(this);
    box->setAccessibleName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
  };
  upper_ = make_text_box("Source text");
  lower_ = make_text_box("Scrambled text");
  lower_->set_follows_end(true);

  status_ = new StatusLine(this);
  status_->setAccessibleName(QStringLiteral("Status"));

  about_action_ = new QAction(QString::fromUtf8(kAboutEntry), this);
  about_action_->setShortcut(QKeySequence(Qt::Key_F1));
  addAction(about_action_);
  connect(about_action_, &QAction::triggered, this, &QtDialogWindow::show_about_box);
}

QPushButton* QtDialogWindow::add_command_button(QPushButton* button, Command command) {
  connect(button, &QPushButton::clicked, this,
          [this, command = std::move(command)] { start_command(command); });
  command_controls_.append(button);
  return button;
}

void QtDialogWindow::enable_command_controls(bool enabled) {
  for (QWidget* control : command_controls_) control->setEnabled(enabled);
  stop_button_->setEnabled(!enabled);
}

void QtDialogWindow::start_command(const Command& command) {
  // One command at a time; a click that comes while one runs (the buttons
  // are disabled, but a click may already be on its way) is dropped, not
  // held back for later.
  if (worker_ != nullptr || closing_) return;
  stop_wanted_ = false;
  // Made here, before the command can begin: a Stop that comes at any time
  // while it runs reaches it.
  stop_source_ = std::stop_source();
  focus_before_command_ = QApplication::focusWidget();
  enable_command_controls(false);
  worker_ = QThread::create([command, stop = stop_source_.get_token()] { command(stop); });
  connect(worker_, &QThread::finished, this, &QtDialogWindow::end_command);
  worker_->start();
}

void QtDialogWindow::end_command() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  progress_->setRange(0, 100);
  progress_->reset();
  enable_command_controls(true);
  // Disabling the clicked button took the focus away from it.
  if (focus_before_command_ != nullptr) focus_before_command_->setFocus();
  Q_EMIT command_finished();
  if (closing_ && !destroying_) {
    closing_ = false;
    done(result_after_command_);
  }
}

void QtDialogWindow::wait_for_command() {
  if (worker_ == nullptr) return;
  QEventLoop loop;
  connect(this, &QtDialogWindow::command_finished, &loop, &QEventLoop::quit);
  loop.exec();
}

void QtDialogWindow::stop_command() {
  if (worker_ == nullptr) return;
  stop_wanted_ = true;
  stop_source_.request_stop();
}

template <typename Call>
auto QtDialogWindow::on_gui_thread(Call call) {
  return call_on_thread_of(this, std::move(call));
}

void QtDialogWindow::done(int result) {
  if (worker_ != nullptr) {
    if (closing_) return;  // already asked; the window ends with the command
    if (!dialogs_->ask(this, QStringLiteral("A command is still running. Stop it and quit?"))) {
      return;
    }
    // The window ends once the command has: waiting for it here could
    // hold up the very call it waits on.
    closing_ = true;
    result_after_command_ = result;
    stop_command();
    return;
  }
  if (commands_.has_unsaved_text() &&
      !dialogs_->ask(this, from_utf8(texts::unsaved_text_question(commands_.has_restored_text(),
                                                                  "Quit")))) {
    return;
  }
  QDialog::done(result);
}

void QtDialogWindow::place_text_boxes() {
  const DialogUnits units(font());
  const QSize base = units.size(kWindowWidth, kWindowHeight);
  const int extra_width = std::max(0, width() - base.width());
  const int extra_height = std::max(0, height() - base.height());
  // The two boxes share the extra height in the proportion of their heights.
  const int upper_extra = extra_height * kUpperHeight / (kUpperHeight + kLowerHeight);
  QRect upper = units.rect(kBoxLeft, kUpperTop, kBoxWidth, kUpperHeight);
  upper.setWidth(upper.width() + extra_width);
  upper.setHeight(upper.height() + upper_extra);
  QRect lower = units.rect(kBoxLeft, kLowerTop, kBoxWidth, kLowerHeight);
  lower.setWidth(lower.width() + extra_width);
  lower.translate(0, upper_extra);
  lower.setHeight(lower.height() + extra_height - upper_extra);
  QRect status = units.rect(kBoxLeft, kStatusTop, kBoxWidth, kStatusHeight);
  status.setWidth(status.width() + extra_width);
  status.translate(0, extra_height);
  upper_->setGeometry(upper);
  lower_->setGeometry(lower);
  status_->setGeometry(status);
}

void QtDialogWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  place_text_boxes();
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
  // While a command runs, Escape stops it rather than ending the program.
  if (event->key() == Qt::Key_Escape && worker_ != nullptr) {
    stop_command();
    return;
  }
  // Enter presses the button that has the focus (the button takes it
  // itself); anywhere else it does nothing, and never ends the program.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(about_action_);
  menu.exec(event->globalPos());
}

void QtDialogWindow::show_about_box() {
  AboutBox box(icon_, settings_.location(), this);
  box.exec();
}

LeftScrollTextEdit* QtDialogWindow::text_box(TextBox box) const {
  return box == TextBox::kUpper ? upper_ : lower_;
}

QCheckBox* QtDialogWindow::check_box(CheckBox box) const {
  switch (box) {
    case CheckBox::kDeepSearch:
      return deep_search_;
    case CheckBox::kFrequency:
      return frequency_;
    case CheckBox::kCompounds:
      return compounds_;
    case CheckBox::kKeepPunctuation:
      return keep_punctuation_;
    case CheckBox::kSort:
      break;
  }
  return sort_;
}

void QtDialogWindow::show_text(TextBox box, std::string_view text) {
  on_gui_thread([&] { text_box(box)->set_bytes(text); });
}

void QtDialogWindow::show_tokens(TextBox box, std::string_view prefix, const TokenList& tokens) {
  // Converted on the command's thread, straight from the list's buffer: for
  // a large text that is the long part. The characters a UTF-8 text had
  // beyond Windows-1252 are shown as they were.
  const BoxText shown_text = make_box_text(prefix, tokens.join(), {}, tokens.encoding().kept());
  // A prefix is a report on the text after it (Translate's): it is shown
  // from its start, so that the report is what the user sees first.
  const auto shown =
      prefix.empty() ? LeftScrollTextEdit::Shown::kUsual : LeftScrollTextEdit::Shown::kStart;
  on_gui_thread([&] { text_box(box)->set_box_text(shown_text, shown); });
}

void QtDialogWindow::repaint_now(RepaintTarget target) {
  // The user-interface thread keeps handling events while a command runs,
  // so an update is painted at once.
  on_gui_thread([&] {
    if (target == RepaintTarget::kLowerTextBox) {
      lower_->update();
    } else {
      update();
    }
  });
}

void QtDialogWindow::show_progress(int percentage) {
  on_gui_thread([&] {
    if (percentage < 0) {
      // No share is known: a busy bar.
      progress_->setRange(0, 0);
    } else {
      progress_->setRange(0, 100);
      progress_->setValue(percentage);
    }
  });
}

bool QtDialogWindow::is_checked(CheckBox box) const {
  return call_on_thread_of(const_cast<QtDialogWindow*>(this),
                           [&] { return check_box(box)->isChecked(); });
}

void QtDialogWindow::set_checked(CheckBox box, bool checked) {
  on_gui_thread([&] { check_box(box)->setChecked(checked); });
}

FileChoice QtDialogWindow::choose_file(std::string_view preset, FilePurpose purpose) {
  // A stopped or ending command gets a cancelled dialog: it then ends
  // without a change.
  if (stop_wanted_ || closing_) return {std::string(preset), false};
  return on_gui_thread([&]() -> FileChoice {
    const WindowSettings::DialogStart start = settings_.start_for(
        purpose,
        QFile::decodeName(QByteArray(preset.data(), static_cast<qsizetype>(preset.size()))));
    const std::optional<QString> chosen =
        dialogs_->choose_file(this, start.folder, start.name, purpose);
    if (!chosen) return {std::string(preset), false};
    settings_.remember_folder(purpose, *chosen);
    return {QFile::encodeName(*chosen).toStdString(), true};
  });
}

void QtDialogWindow::message_box(std::string_view text) {
  if (closing_) return;
  on_gui_thread([&] { dialogs_->show_message(this, from_utf8(text), MessageKind::kWarning); });
}

void QtDialogWindow::file_error_box(std::string_view text) {
  if (closing_) return;
  on_gui_thread([&] { dialogs_->show_message(this, from_utf8(text), MessageKind::kFileError); });
}

bool QtDialogWindow::ask(std::string_view question) {
  // A stopped or ending command is answered No: it then ends without a
  // change.
  if (stop_wanted_ || closing_) return false;
  return on_gui_thread([&] { return dialogs_->ask(this, from_utf8(question)); });
}

void QtDialogWindow::show_status(std::string_view text) {
  on_gui_thread([&] { status_->set_full_text(from_utf8(text)); });
}

}  // namespace quirlex::gui
