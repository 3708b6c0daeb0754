#pragma once
#include "app/IniFile.h"
#include <windows.h>
#include <string>

// Whether a pass over the settings reads the file or writes it back.
enum class SettingsPass { Load, Save };

// Defaults taken when the file is read, and rules that replace a number as it is read.
template <int Index>
COLORREF SysColor() { return GetSysColor(Index); }

template <int Low, int High>
int Clamped(int value) { return value < Low ? Low : value > High ? High : value; }

template <int Default>
int NonZeroOr(int value) { return value != 0 ? value : Default; }

template <int Low, int High, int Default>
int InRangeOr(int value) { return value >= Low && value <= High ? value : Default; }

// One key of a section kept in a field of `Section`: its name, the field (its type gives
// the kind), the default for a missing key and an optional rule for the number read.
// A key with an encoding of its own names a reader and a writer instead of a field.
template <class Section>
struct SettingKey {
    enum class Kind { Int, Bool, Color, Byte, String, Custom };
    using Reader = void (*)(const CIniFile&, const wchar_t* section, const wchar_t* key, Section&);
    using Writer = void (*)(const CIniFile&, const wchar_t* section, const wchar_t* key, const Section&);

    constexpr SettingKey(const wchar_t* k, int Section::*f, int def, int (*r)(int) = nullptr)
        : key(k), kind(Kind::Int), intField(f), number(def), rule(r) {}
    constexpr SettingKey(const wchar_t* k, bool Section::*f, bool def)
        : key(k), kind(Kind::Bool), boolField(f), number(def ? 1 : 0) {}
    constexpr SettingKey(const wchar_t* k, COLORREF Section::*f, COLORREF def)
        : key(k), kind(Kind::Color), colorField(f), number(static_cast<int>(def)) {}
    constexpr SettingKey(const wchar_t* k, COLORREF Section::*f, COLORREF (*def)())
        : key(k), kind(Kind::Color), colorField(f), computed(def) {}
    constexpr SettingKey(const wchar_t* k, BYTE Section::*f, int def)
        : key(k), kind(Kind::Byte), byteField(f), number(def) {}
    constexpr SettingKey(const wchar_t* k, std::wstring Section::*f, const wchar_t* def)
        : key(k), kind(Kind::String), stringField(f), text(def) {}
    constexpr SettingKey(const wchar_t* k, Reader r, Writer w)
        : key(k), kind(Kind::Custom), read(r), write(w) {}

    // Numbers go through the profile integer reader: a value without digits reads as 0.
    // A Boolean is true only for 1; a byte keeps the low 8 bits.
    void Read(const CIniFile& ini, const wchar_t* section, Section& record) const {
        if (kind == Kind::String) {
            ini.GetString(record.*stringField, section, key, text);
            return;
        }
        if (kind == Kind::Custom) {
            read(ini, section, key, record);
            return;
        }
        int value = ini.GetInt(section, key, computed ? static_cast<int>(computed()) : number);
        if (rule) value = rule(value);
        switch (kind) {
        case Kind::Int: record.*intField = value; break;
        case Kind::Bool: record.*boolField = value == 1; break;
        case Kind::Color: record.*colorField = static_cast<COLORREF>(value); break;
        case Kind::Byte: record.*byteField = static_cast<BYTE>(value); break;
        default: break;
        }
    }

    void Write(const CIniFile& ini, const wchar_t* section, const Section& record) const {
        switch (kind) {
        case Kind::Int: ini.WriteInt(section, key, record.*intField); break;
        case Kind::Bool: ini.WriteBool(section, key, record.*boolField); break;
        case Kind::Color: ini.WriteInt(section, key, static_cast<int>(record.*colorField)); break;
        case Kind::Byte: ini.WriteInt(section, key, record.*byteField); break;
        case Kind::String: ini.WriteString(section, key, (record.*stringField).c_str()); break;
        case Kind::Custom: write(ini, section, key, record); break;
        }
    }

    const wchar_t* key;
    Kind kind;
    int Section::*intField = nullptr;
    bool Section::*boolField = nullptr;
    COLORREF Section::*colorField = nullptr;
    BYTE Section::*byteField = nullptr;
    std::wstring Section::*stringField = nullptr;
    int number = 0;                        // default of a number, Boolean 0 or 1
    COLORREF (*computed)() = nullptr;      // or a default taken at load time
    const wchar_t* text = nullptr;         // default of a string
    int (*rule)(int) = nullptr;
    Reader read = nullptr;
    Writer write = nullptr;
};

// Loading reads the keys in table order; saving erases the section first, so that keys
// no longer in the table disappear, then writes the keys in table order.
template <class Section, class Keys>
void ExchangeKeys(const CIniFile& ini, SettingsPass pass, const wchar_t* section, Section& record,
                  const Keys& keys) {
    if (pass == SettingsPass::Save) ini.EraseSection(section);
    for (const SettingKey<Section>& key : keys) {
        if (pass == SettingsPass::Load) {
            key.Read(ini, section, record);
        } else {
            key.Write(ini, section, record);
        }
    }
}
