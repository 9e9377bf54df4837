// A plain-text box for texts of many megabytes with its vertical scroll bar
// on the left side. The text direction stays left to right; only the scroll
// bar moves. Texts are set and read as Windows-1252 bytes.
#pragma once

#include <QPlainTextEdit>
#include <span>
#include <string>
#include <string_view>

#include "gui/box_text.h"

class QScrollBar;

namespace quirlex::gui {

class LeftScrollTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  // Which part of a new text the box shows.
  enum class Shown {
    kUsual,  // the end for a box that follows the end, else the start
    kStart,  // the start, with the caret before the first character
  };

  explicit LeftScrollTextEdit(QWidget* parent = nullptr);
  ~LeftScrollTextEdit() override;

  // Replaces the whole text in one step, without an undo record. CR LF, and
  // also a lone CR or LF, break the line. A box that follows the end then
  // shows the text's end with the caret after it, unless `shown` asks for
  // the start; otherwise the caret is at the start. Stand-ins of the text
  // show as the characters `kept` holds for them, in order.
  void set_bytes(std::string_view text, Shown shown = Shown::kUsual,
                 std::span<const char32_t> kept = {});
  // The same for a text already made into a box's text (which can be done
  // on another thread, away from the window's).
  void set_box_text(const BoxText& box, Shown shown = Shown::kUsual);
  // The text as shown, each line break as CR LF.
  std::string bytes() const;

  void set_follows_end(bool follows) { follows_end_ = follows; }
  bool follows_end() const { return follows_end_; }

  // The scroll bar the user sees, at the left edge.
  QScrollBar* left_scroll_bar() const { return left_bar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void copy_scroll_state();
  void place_left_bar();

  QScrollBar* left_bar_;
  bool follows_end_ = false;
};

}  // namespace quirlex::gui
