// The application's message filters: order, handling, removal in any order and during a call,
// and the program's own OnMessage behind them.
#include "FormsTestSupport.h"

namespace {
constexpr UINT WM_PROBE = WM_USER + 77;

struct TFilterLog {
  TLines Lines;
  bool AHandles = false;
  bool BRemovesItself = false;
  bool BRemovesA = false;

  void A(MSG& Msg, bool& Handled) {
    if (Msg.message != WM_PROBE) return;
    Lines.push_back("A");
    Handled = AHandles;
  }
  void B(MSG& Msg, bool&) {
    if (Msg.message != WM_PROBE) return;
    Lines.push_back("B");
    if (BRemovesItself) Application->RemoveMessageFilter(TMessageEvent(this, &TFilterLog::B));
    if (BRemovesA) Application->RemoveMessageFilter(TMessageEvent(this, &TFilterLog::A));
  }
  void Program(MSG& Msg, bool&) {
    if (Msg.message == WM_PROBE) Lines.push_back("Program");
  }
  TMessageEvent FilterA() { return TMessageEvent(this, &TFilterLog::A); }
  TMessageEvent FilterB() { return TMessageEvent(this, &TFilterLog::B); }
};

class TMessageFiltersTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    Application->OnMessage = TMessageEvent(&Log, &TFilterLog::Program);
  }
  void TearDown() override {
    Application->RemoveMessageFilter(Log.FilterA());
    Application->RemoveMessageFilter(Log.FilterB());
    Application->OnMessage = nullptr;
    TFormsTest::TearDown();
  }
  TLines Probe() {
    Log.Lines.clear();
    PostMessage(Application->GetHandle(), WM_PROBE, 0, 0);
    Pump();
    return Log.Lines;
  }
  TFilterLog Log;
};
}  // namespace

TEST_F(TMessageFiltersTest, LatestFilterFirstThenTheProgramsHandler) {
  Application->AddMessageFilter(Log.FilterA());
  Application->AddMessageFilter(Log.FilterB());
  Application->AddMessageFilter(Log.FilterA());  // already there: stays where it was
  EXPECT_EQ(Probe(), (TLines{"B", "A", "Program"}));
}

TEST_F(TMessageFiltersTest, RemovalInEitherOrderLeavesTheProgramsHandlerAlone) {
  // Saving and restoring OnMessage left a dead handler when hooks ended out of order.
  struct TCase {
    bool FirstOutIsA;
  };
  for (const TCase C : {TCase{true}, TCase{false}}) {
    Application->AddMessageFilter(Log.FilterA());
    Application->AddMessageFilter(Log.FilterB());
    Application->RemoveMessageFilter(C.FirstOutIsA ? Log.FilterA() : Log.FilterB());
    EXPECT_EQ(Probe(), (TLines{C.FirstOutIsA ? "B" : "A", "Program"}));
    Application->RemoveMessageFilter(C.FirstOutIsA ? Log.FilterB() : Log.FilterA());
    EXPECT_EQ(Probe(), (TLines{"Program"}));
    EXPECT_FALSE(Application->HasMessageFilter(Log.FilterA()));
    EXPECT_FALSE(Application->HasMessageFilter(Log.FilterB()));
  }
}

// Notes the probes that reach its window.
class TProbeForm : public TForm {
 public:
  TProbeForm(TLines& Seen) : TForm(nullptr), FSeen(Seen) {}
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_PROBE) FSeen.push_back("Window");
    TForm::Dispatch(M);
  }

 private:
  TLines& FSeen;
};

TEST_F(TMessageFiltersTest, AHandlingFilterStopsTheRestAndTheDispatch) {
  auto* Form = new TProbeForm(Log.Lines);
  Forms.emplace_back(Form);
  Application->AddMessageFilter(Log.FilterB());
  Application->AddMessageFilter(Log.FilterA());
  for (const bool Handles : {true, false}) {
    Log.AHandles = Handles;
    Log.Lines.clear();
    PostMessage(Form->GetHandle(), WM_PROBE, 0, 0);
    Pump();
    EXPECT_EQ(Log.Lines, Handles ? (TLines{"A"}) : (TLines{"A", "B", "Program", "Window"}));
  }
}

TEST_F(TMessageFiltersTest, AFilterRemovedDuringTheCall) {
  Application->AddMessageFilter(Log.FilterA());
  Application->AddMessageFilter(Log.FilterB());
  // Removing itself: the older filter still runs this time.
  Log.BRemovesItself = true;
  EXPECT_EQ(Probe(), (TLines{"B", "A", "Program"}));
  EXPECT_EQ(Probe(), (TLines{"A", "Program"}));
  // Removing one not yet called: it is not called.
  Application->AddMessageFilter(Log.FilterB());
  Log.BRemovesItself = false;
  Log.BRemovesA = true;
  EXPECT_EQ(Probe(), (TLines{"B", "Program"}));
  EXPECT_FALSE(Application->HasMessageFilter(Log.FilterA()));
  EXPECT_TRUE(Application->HasMessageFilter(Log.FilterB()));
}
