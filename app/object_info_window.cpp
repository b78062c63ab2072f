#include "app/object_info_window.h"

#include "app/button_pictures.h"
#include "script/script_format.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr int kClientWidth = 290, kRowHeight = 22, kMaxClientHeight = 470;
constexpr uint8_t kSetVisible = 129, kSetSensitive = 130, kRename = 131, kTextureSize = 132;
// The sizes offered, height by width; entry k of the list (1 to 11) asks for the size whose
// packed code has bit k + 1 set.
const char *const kSizes[] = {"32x32",   "32x64",   "64x64",   "64x128",   "128x128",  "128x256",
                              "256x256", "256x512", "512x512", "512x1024", "1024x1024"};

QToolButton *rowButton(QWidget *parent, int x) {
  auto *b = new QToolButton(parent);
  b->setGeometry(x, 0, 23, 22);
  b->setIconSize(buttonPictureSize(QSize(23, 22)));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

} // namespace

ObjectInfoWindow::ObjectInfoWindow(CommandLayer &layer, StatusHelp &help, QWidget *owner)
    : QWidget(owner, Qt::Tool), layer_(layer), help_(help), rowArea_(new QWidget(this)),
      scrollBar_(new QScrollBar(Qt::Vertical, this)), eyeOpen_(eyePicture(true)),
      eyeClosed_(eyePicture(false)), ballGreen_(ballPicture(true)), ballGrey_(ballPicture(false)) {
  setWindowTitle(QStringLiteral("Object Info"));
  setObjectName(QStringLiteral("objectInfo"));
  connect(scrollBar_, &QScrollBar::actionTriggered, this, &ObjectInfoWindow::scrollAction);
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().topLeft());
  hide();
}

void ObjectInfoWindow::toggle() {
  if (layer_.scene().objects.objectCount() == 0)
    return;
  if (isVisible()) {
    hide();
    return;
  }
  show();
  refresh();
  parentWidget()->activateWindow();
}

void ObjectInfoWindow::scheduleRefresh() {
  if (refreshPending_ || !isVisible())
    return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshPending_ = false;
    refresh();
  });
}

void ObjectInfoWindow::refresh() {
  const Scene &scene = layer_.scene();
  const int count = scene.objects.objectCount();
  if (count == 0)
    hide();
  if (isHidden())
    return;
  scrollBar_->setRange(0, std::max(0, count - 20));
  scrollBar_->setValue(first_);
  setEnabled(true);
  int skipped = 0;
  filled_ = 0;
  for (int32_t slot = 0; slot < scene.objects.count() && filled_ < kShownRows; ++slot) {
    const moObject *object = scene.object(slot);
    if (!object || skipped++ < first_)
      continue;
    if (filled_ == int(rows_.size()))
      addRow();
    fillRow(rows_[size_t(filled_++)], slot, *object);
  }
  const int height = std::min(kRowHeight * filled_ + 6, kMaxClientHeight);
  rowArea_->setGeometry(0, 0, kClientWidth, height);
  scrollBar_->setGeometry(kClientWidth, 0, scrollBar_->sizeHint().width(), height);
  setFixedSize(kClientWidth + scrollBar_->sizeHint().width(), height);
}

void ObjectInfoWindow::addRow() {
  const int r = int(rows_.size());
  Row row;
  row.holder = new QWidget(rowArea_);
  row.holder->setGeometry(0, 3 + kRowHeight * r, kClientWidth, kRowHeight);
  row.visible = rowButton(row.holder, 4);
  row.sensitive = rowButton(row.holder, 27);
  row.name = new QLineEdit(row.holder);
  row.name->setGeometry(56, 2, 100, 18);
  row.name->setAlignment(Qt::AlignCenter);
  row.name->setMaxLength(int(kScriptLineLimit)); // a recorded name keeps every character
  row.size = new QComboBox(row.holder);
  row.size->setGeometry(164, 1, 106, 20); // wide enough for "1024x1024" and "No Texture"
  row.size->setMaxVisibleItems(12);
  help_.attach(row.visible, kVisibilityBase + r);
  help_.attach(row.sensitive, kSensitivityBase + r);
  help_.attach(row.name, kNameBase + r);
  help_.attach(row.size, kTextureSizeBase + r);
  connect(row.visible, &QToolButton::clicked, this, [this, r] { toggleFlag(r, kSetVisible); });
  connect(row.sensitive, &QToolButton::clicked, this, [this, r] { toggleFlag(r, kSetSensitive); });
  connect(row.name, &QLineEdit::editingFinished, this, [this, r] { rename(r); });
  connect(row.size, qOverload<int>(&QComboBox::activated), this,
          [this, r](int entry) { chooseSize(r, entry); });
  row.holder->show();
  rows_.push_back(row);
}

void ObjectInfoWindow::fillRow(Row &row, int32_t slot, const moObject &object) {
  row.visible->setIcon(object.visible ? eyeOpen_ : eyeClosed_);
  row.sensitive->setIcon(object.sensitive ? ballGreen_ : ballGrey_);
  // A name being typed stays as typed until the field is left.
  if (!(row.name->hasFocus() && row.slot == slot))
    row.name->setText(QString::fromStdString(object.name));
  row.slot = slot;
  fillSizes(row.size, object);
}

void ObjectInfoWindow::fillSizes(QComboBox *list, const moObject &object) {
  list->clear();
  const PaintLayer *paint = object.paintLayer.get();
  if (!paint || paint->image.empty()) {
    list->addItem(QStringLiteral("No Texture"));
    return;
  }
  list->addItem(QStringLiteral("%1x%2").arg(paint->image.height()).arg(paint->image.width()));
  for (const char *size : kSizes)
    list->addItem(QString::fromLatin1(size));
  list->setCurrentIndex(0);
}

void ObjectInfoWindow::toggleFlag(int row, uint8_t code) {
  const int32_t slot = rows_.at(size_t(row)).slot;
  const moObject *object = layer_.scene().object(slot);
  if (!object)
    return;
  const bool now = code == kSetVisible ? object->visible : object->sensitive;
  layer_.execute(code, {slot, now ? 0 : 1});
  refresh();
}

void ObjectInfoWindow::rename(int row) {
  const Row &r = rows_.at(size_t(row));
  const moObject *object = layer_.scene().object(r.slot);
  const std::string name = r.name->text().toStdString().substr(0, kScriptLineLimit);
  if (!object || object->name == name)
    return;
  ScriptCommand command;
  command.code = kRename;
  command.args = {r.slot};
  command.lines = {name};
  command.known = true;
  layer_.execute(command);
}

void ObjectInfoWindow::chooseSize(int row, int entry) {
  const int32_t slot = rows_.at(size_t(row)).slot;
  const moObject *object = layer_.scene().object(slot);
  // Entry 0 is the current size or "No Texture".
  if (!object || entry < 1 || entry > 11 || !object->paintLayer)
    return;
  layer_.execute(kTextureSize, {int32_t(uint32_t(slot) + (1u << (entry + 17)))});
  scheduleRefresh(); // not from inside the list's own signal
}

void ObjectInfoWindow::scrollLines(int direction) {
  const int count = layer_.scene().objects.objectCount();
  const int before = first_;
  if (direction > 0 && first_ < count - 19)
    ++first_;
  else if (direction < 0 && first_ > 0)
    --first_;
  first_ = std::max(0, std::min(first_, count - 20));
  if (first_ != before)
    refresh();
}

void ObjectInfoWindow::scrollAction(int action) {
  switch (action) {
  case QAbstractSlider::SliderSingleStepAdd:
  case QAbstractSlider::SliderPageStepAdd:
    scrollLines(1);
    break;
  case QAbstractSlider::SliderSingleStepSub:
  case QAbstractSlider::SliderPageStepSub:
    scrollLines(-1);
    break;
  default: // dragging the thumb does nothing
    break;
  }
  scrollBar_->setSliderPosition(first_);
}

void ObjectInfoWindow::wheelEvent(QWheelEvent *event) {
  if (event->angleDelta().y() != 0)
    scrollLines(event->angleDelta().y() < 0 ? 1 : -1);
}
