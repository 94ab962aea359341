#include "app/layer_choices.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <thread>

#include "conversion/layer_inventory.h"
#include "document/cp932.h"
#include "formats/loaded_drawing.h"

namespace varnelko {

namespace {

void Keep(std::string& name, bool& differ, const std::string& candidate) {
  if (candidate.empty()) return;
  if (name.empty()) {
    name = candidate;
  } else if (name != candidate) {
    differ = true;
  }
}

QString ItemText(int index, const std::string& name, bool differ, int64_t count) {
  QString text =
      index == kLayerNumbers ? QStringLiteral("全て") : QString::number(index, 16).toUpper();
  if (!name.empty()) {
    text += QStringLiteral(" : ") + QString::fromStdString(Cp932ToUtf8(name));
    if (differ) text += QStringLiteral(" 他");
  }
  return text + QStringLiteral(" (") +
         QLocale(QLocale::English).toString(static_cast<qlonglong>(count)) + QLatin1Char(')');
}

bool IsLayerNumber(int n) { return n >= 0 && n < kLayerNumbers; }

}  // namespace

void LayerTally::Add(const LoadedDrawing& drawing) {
  ++drawings;
  const LayerInventory inventory = drawing.jww()
                                       ? BuildLayerInventory(*drawing.jww(), std::nullopt)
                                       : BuildLayerInventory(*drawing.jws(), std::nullopt);
  for (const LayerInventoryEntry& e : inventory.entries) {
    if (IsLayerNumber(e.group) && IsLayerNumber(e.layer)) counts[e.group][e.layer] += e.Total();
  }
  // Empty layers have names too; a figure has none.
  if (const JwwDocument* doc = drawing.jww()) {
    for (int g = 0; g < kLayerNumbers; ++g) {
      Keep(group_names[g], group_names_differ[g], doc->layer_groups[g].name);
      for (int l = 0; l < kLayerNumbers; ++l) {
        Keep(layer_names[g][l], layer_names_differ[g][l], doc->layers[g * 16 + l].name);
      }
    }
  }
}

int64_t LayerTally::GroupCount(int group) const {
  int64_t n = 0;
  for (int64_t c : counts[group]) n += c;
  return n;
}

int64_t LayerTally::LayerCount(int group, int layer) const {
  if (IsLayerNumber(group)) return counts[group][layer];
  int64_t n = 0;
  for (int g = 0; g < kLayerNumbers; ++g) n += counts[g][layer];
  return n;
}

int64_t GroupItemCount(const LayerTally& tally, int index) {
  if (IsLayerNumber(index)) return tally.GroupCount(index);
  int64_t n = 0;
  for (int g = 0; g < kLayerNumbers; ++g) n += tally.GroupCount(g);
  return n;
}

int64_t LayerItemCount(const LayerTally& tally, int group, int index) {
  if (IsLayerNumber(index)) return tally.LayerCount(group, index);
  int64_t n = 0;
  for (int l = 0; l < kLayerNumbers; ++l) n += tally.LayerCount(group, l);
  return n;
}

QString GroupItemText(const LayerTally& tally, int index) {
  if (!IsLayerNumber(index)) return ItemText(index, {}, false, GroupItemCount(tally, index));
  return ItemText(index, tally.group_names[index], tally.group_names_differ[index],
                  GroupItemCount(tally, index));
}

QString LayerItemText(const LayerTally& tally, int group, int index) {
  // Layer names belong to a group; over every group no one name fits.
  if (!IsLayerNumber(index) || !IsLayerNumber(group)) {
    return ItemText(index, {}, false, LayerItemCount(tally, group, index));
  }
  return ItemText(index, tally.layer_names[group][index], tally.layer_names_differ[group][index],
                  LayerItemCount(tally, group, index));
}

LayerTallyReader::LayerTallyReader(std::vector<std::filesystem::path> files, QObject* parent)
    : QObject(parent), stop_(std::make_shared<std::atomic<bool>>(false)) {
  // The thread owns what it uses; the tally reaches this object only if it
  // still exists then.
  QPointer<LayerTallyReader> self(this);
  std::thread([self, stop = stop_, files = std::move(files)] {
    auto tally = std::make_shared<LayerTally>();
    for (const std::filesystem::path& file : files) {
      if (*stop) return;
      LoadedDrawing drawing;
      if (drawing.Load(file, nullptr)) {
        tally->Add(drawing);
      } else {
        ++tally->failed;
      }
    }
    if (*stop) return;  // the window may be going: nothing to hand over
    QMetaObject::invokeMethod(
        qApp,
        [self, stop, tally] {
          if (self && !*stop) Q_EMIT self->Finished(*tally);
        },
        Qt::QueuedConnection);
  }).detach();
}

LayerTallyReader::~LayerTallyReader() { *stop_ = true; }

}  // namespace varnelko
