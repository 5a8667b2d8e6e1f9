#pragma once

#include <cstdint>
#include <string>

#include "component/call_context.h"
#include "platform/clock.h"

namespace orvane {

// One kind of source the public methods dispatch to by export type.
// Errors leave by orvane::Error and become the public method's result.
class ExportSource {
 public:
  virtual ~ExportSource() = default;

  // Runs before every operation of this source (the mail client logs on again).
  virtual void OpenSession(CallContext&) {}
  virtual int16_t CountItems(CallContext& context) = 0;
  virtual void GetItemInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                           AutomationDate& ModifyTime) = 0;
  // `filename` is the target path without extension.
  virtual void ExportItem(CallContext& context, int16_t ItemIdx,
                          const std::u16string& filename) = 0;
  // The whole-export run, after Export2 has prepared the run state.
  virtual void ExportAll(CallContext& context) = 0;
};

// A source whose operations are plain procedures; `open` may be null.
struct SourceProcedures {
  void (*open)(CallContext&);
  int16_t (*count)(CallContext&);
  void (*info)(CallContext&, int16_t ItemIdx, std::u16string& Title, AutomationDate& ModifyTime);
  void (*export_item)(CallContext&, int16_t ItemIdx, const std::u16string& filename);
  void (*export_all)(CallContext&);
};

class ProcedureSource final : public ExportSource {
 public:
  explicit ProcedureSource(const SourceProcedures& procedures) : procedures_(procedures) {}

  void OpenSession(CallContext& context) override {
    if (procedures_.open != nullptr) procedures_.open(context);
  }
  int16_t CountItems(CallContext& context) override { return procedures_.count(context); }
  void GetItemInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                   AutomationDate& ModifyTime) override {
    procedures_.info(context, ItemIdx, Title, ModifyTime);
  }
  void ExportItem(CallContext& context, int16_t ItemIdx, const std::u16string& filename) override {
    procedures_.export_item(context, ItemIdx, filename);
  }
  void ExportAll(CallContext& context) override { procedures_.export_all(context); }

 private:
  SourceProcedures procedures_;
};

}  // namespace orvane
