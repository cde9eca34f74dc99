// com_ptr's references and queries against a counting object, and the
// balance of com_scope's initialisations.
#include "win/com.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvalis::win {
namespace {

// {6B3A2A5E-4F0C-4C7E-9E2B-1D5A7C3E9F01}
const IID kIidMarker = {0x6b3a2a5e, 0x4f0c, 0x4c7e, {0x9e, 0x2b, 0x1d, 0x5a, 0x7c, 0x3e, 0x9f, 0x01}};

struct IMarker : IUnknown {
  virtual int STDMETHODCALLTYPE Mark() = 0;
};

// Has IUnknown and IMarker. Asked for anything else it fails but leaves itself
// in the slot, as a careless object might: the caller must not release that.
class Counted final : public IMarker {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = static_cast<IMarker*>(this);
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, kIidMarker)) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return ULONG(--references); }
  int STDMETHODCALLTYPE Mark() override { return 7; }

  int references = 1;  // the one the test hands to the first com_ptr
};

TEST(ComPtr, QueriesAddAReferenceOnlyForAnInterfaceTheObjectHas) {
  Counted object;
  {
    com_ptr<IUnknown> unknown(&object);
    {
      com_ptr<IMarker> marker = unknown.query<IMarker>(kIidMarker);
      ASSERT_TRUE(marker);
      EXPECT_EQ(marker->Mark(), 7);
      EXPECT_EQ(object.references, 2);
      com_ptr<IPersistFile> missing = unknown.query<IPersistFile>(IID_IPersistFile);
      EXPECT_FALSE(missing);
      EXPECT_EQ(object.references, 2) << "a failed query neither keeps nor releases a reference";
      com_ptr<IMarker> moved(std::move(marker));
      EXPECT_FALSE(marker);
      EXPECT_EQ(object.references, 2);
    }
    EXPECT_EQ(object.references, 1);
    EXPECT_FALSE(com_ptr<IUnknown>().query<IMarker>(kIidMarker)) << "an empty pointer has no interfaces";
  }
  EXPECT_EQ(object.references, 0);
}

TEST(ComPtr, PutReleasesWhatWasHeld) {
  Counted object;
  object.references = 2;
  com_ptr<IMarker> p(&object);
  IMarker** slot = p.put();
  EXPECT_EQ(object.references, 1);
  EXPECT_EQ(*slot, nullptr);
  *slot = &object;  // as CoCreateInstance fills it, with a reference of its own
  EXPECT_EQ(p.release(), &object);
  EXPECT_EQ(object.references, 1);
}

// Each successful CoInitializeEx, S_FALSE included, needs its own CoUninitialize;
// a refused one (another apartment model) must not have one.
TEST(ComScope, InitialisationsBalance) {
  HRESULT first = E_FAIL, nested = E_FAIL, otherModel = S_OK, stillThere = E_FAIL, afterwards = E_FAIL;
  std::thread([&] {  // a fresh thread: nothing else has initialised COM on it
    {
      com_scope outer;
      first = outer.result();
      {
        com_scope inner;
        nested = inner.result();
      }
      {
        com_scope refused(COINIT_MULTITHREADED);
        otherModel = refused.result();
      }
      com_scope probe;
      stillThere = probe.result();
    }
    com_scope again(COINIT_MULTITHREADED);
    afterwards = again.result();
  }).join();
  EXPECT_EQ(first, S_OK);
  EXPECT_EQ(nested, S_FALSE);
  EXPECT_EQ(otherModel, RPC_E_CHANGED_MODE);
  EXPECT_EQ(stillThere, S_FALSE) << "the refused scope uninitialised nothing";
  EXPECT_EQ(afterwards, S_OK) << "every scope that succeeded uninitialised once";
}

}  // namespace
}  // namespace orvalis::win
