// The Wine tests' setting for a data-entry edit: the edit on a shown form,
// a plain edit box beside it to take the focus away, and its change events
// counted.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "controls/entry/edit_view.h"
#include "ui/edit_box.h"
#include "ui/form.h"

namespace orvalis::controls {

template <class Edit>
class EntryEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(formLeft_, formTop_, 300, 120);
    edit_ = std::make_unique<Edit>();
    edit_->SetName("Entry");
    edit_->SetParent(form_.get());
    edit_->SetBounds(8, 8, editWidth_, 22);
    edit_->OnChange = [this](Edit&) { ++changes_; };
    other_ = std::make_unique<ui::EditBox>();
    other_->SetParent(form_.get());
    other_->SetBounds(8, 40, 120, 22);
    form_->Show();
    edit_->Loaded();
  }
  void TearDown() override {
    edit_.reset();
    other_.reset();
    form_.reset();
  }

  HWND Handle() { return edit_->Handle(); }
  void Enter() { ::SetFocus(Handle()); }
  void Leave() { ::SetFocus(other_->Handle()); }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) ::SendMessageW(Handle(), WM_CHAR, static_cast<unsigned char>(*k), 1);
  }
  void Key(int vk) { ::SendMessageW(Handle(), WM_KEYDOWN, WPARAM(vk), 1); }
  // The window's own text and selection, not the model's.
  EditState Shown() { return ReadEdit(Handle()); }

  // Where the form and the edit go; a fixture may change them before SetUp.
  int formLeft_ = 0;
  int formTop_ = 0;
  int editWidth_ = 160;

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<Edit> edit_;
  std::unique_ptr<ui::EditBox> other_;
  int changes_ = 0;
};

}  // namespace orvalis::controls
