#include "cli/window_reference.h"

namespace zrm::test {

namespace {

class NoView : public StartUpView {
 public:
  void ShowEditor() override {}
  void ShowStartCaption() override {}
  void ShowFirstPage() override {}
};

}  // namespace

WindowReference::WindowReference(const std::string& device) : session_(dir_.Path()) {
  WriteBytes(dir_.File("dev.dat"), "[PORTS]\r\nCOM1=" + device + "\r\n");
  op.default_answer = true;
  NoView view;
  session_.StartUp(op, view);
  session_.ReloadLastState(op);
}

ExchangeResult WindowReference::ReadAndSave(const std::string& file) {
  const ExchangeResult r = session_.Read(session_.form, session_.settings, op);
  if (r == result::kOk) session_.SaveProfileAs(file, op);
  return r;
}

ExchangeResult WindowReference::OpenAndWrite(const std::string& file) {
  session_.OpenProfile(file, op);
  return session_.Write(session_.form, session_.settings, op);
}

}  // namespace zrm::test
