#pragma once

#include <cstdint>

#include "model/VORCodedObject.h"
#include "model/VORObjectProperties.h"
#include "model/VORPageMember.h"

// The player form of a page object: the class the class registry makes and
// page instances copy. It is the model class with its properties record
// embedded; the model reaches the record only through GetProperties. A
// copy copies the record whole, so that a page shown in a second view
// shows the same object.
//
//   using VORPlayerImage = VORPlayerForm<VORImage, VORImage::VORImageProperties>;
//   const ClassRegistration kImage(1, 3, VORPlayerImage::Create);
//
// Model: a VORObject heir with a (class key, id) constructor and a copy
// constructor. Properties: its record, copyable whole.
template <class Model, class Properties>
class VORPlayerForm : public Model {
public:
  using ModelType = Model;
  using PropertiesType = Properties;

  // The factory's constructor: a default record, which Read fills.
  VORPlayerForm(uint32_t classKey, int32_t id) : Model(classKey, id) {}
  VORPlayerForm(const VORPlayerForm &other) : Model(other), m_properties(other.m_properties) {}
  VORPlayerForm &operator=(const VORPlayerForm &) = delete;
  ~VORPlayerForm() override = default;

  // The class registry's factory.
  static VORCodedObject *Create(uint32_t classKey, int32_t id) {
    return static_cast<VORCodedObject *>(new VORPlayerForm(classKey, id));
  }

  VORObjectProperties *GetProperties() override { return &m_properties; }
  VORPageMember *Clone() const override { return new VORPlayerForm(*this); }

  Properties &GetFormProperties() { return m_properties; }
  const Properties &GetFormProperties() const { return m_properties; }

private:
  Properties m_properties;
};
