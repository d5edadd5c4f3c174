// Everything a form owns, visible or not, has a name and may have a peer.
#pragma once

#include <memory>
#include <string>

#include "ui/peer.h"

namespace ui {

class Form;

class Component {
 public:
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  virtual ~Component() = default;

  const std::string& Name() const { return name_; }
  Form& Owner() const { return *owner_; }

  Peer* GetPeer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }

 protected:
  // A form is its own owner.
  Component(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {}

  void Changed(Change what) {
    if (peer_) peer_->Update(what);
  }

 private:
  Form* owner_;
  std::string name_;
  std::unique_ptr<Peer> peer_;
};

}  // namespace ui
