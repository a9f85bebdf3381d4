#include "registry.h"

#include "text.h"

#include <array>
#include <list>
#include <unordered_map>

namespace sim {

namespace {

constexpr std::array<const char*, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// Splits a backslash-separated path; nullopt when any part is empty.
std::optional<std::vector<std::string_view>> split_path(std::string_view path) {
    std::vector<std::string_view> parts;
    if (path.empty())
        return parts;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view part = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (part.empty())
            return std::nullopt;
        parts.push_back(part);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::optional<Root> root_from_name(std::string_view name) {
    for (std::size_t i = 0; i < kRootNames.size(); i++) {
        if (same_folded(name, kRootNames[i]))
            return static_cast<Root>(i);
    }
    return std::nullopt;
}

const char* root_name(Root root) {
    return kRootNames[static_cast<std::size_t>(root)];
}

std::string RegKey::path() const {
    std::size_t size = 0;
    for (const RegKey* k = this; k; k = k->parent)
        size += k->name.size() + 1;
    std::string result(size - 1, '\\');
    std::size_t end = result.size();
    for (const RegKey* k = this; k; k = k->parent) {
        end -= k->name.size();
        result.replace(end, k->name.size(), k->name);
        if (end > 0)
            end--;
    }
    return result;
}

// The key order is a list of every placed key; `where` finds a key's place in it, so a
// key is placed, moved or removed without walking the list. Non-root keys are placed when
// created; a root only once it has a section of its own.
struct Registry::Impl {
    std::array<RegKey, 6> roots;
    std::list<RegKey*> order;
    std::unordered_map<const RegKey*, std::list<RegKey*>::iterator> where;
    // Removed subtrees, kept so that pointers to their keys stay valid.
    std::vector<std::unique_ptr<RegKey>> graveyard;

    void place_at_end(RegKey* key) {
        auto found = where.find(key);
        if (found == where.end()) {
            where.emplace(key, order.insert(order.end(), key));
        } else {
            order.splice(order.end(), order, found->second);
        }
    }

    void unplace(const RegKey* key) {
        auto found = where.find(key);
        if (found == where.end())
            return;
        order.erase(found->second);
        where.erase(found);
    }
};

Registry::Registry() : impl_(std::make_unique<Impl>()) {
    for (std::size_t i = 0; i < kRootNames.size(); i++)
        impl_->roots[i].name = kRootNames[i];
}

Registry::Registry(Registry&&) noexcept = default;
Registry& Registry::operator=(Registry&&) noexcept = default;
Registry::~Registry() = default;

RegKey* Registry::root(Root root) {
    return &impl_->roots[static_cast<std::size_t>(root)];
}

const RegKey* Registry::root(Root root) const {
    return &impl_->roots[static_cast<std::size_t>(root)];
}

RegKey* Registry::find(RegKey* parent, std::string_view path) {
    if (!parent || !parent->alive)
        return nullptr;
    auto parts = split_path(path);
    if (!parts)
        return nullptr;
    RegKey* key = parent;
    for (std::string_view part : *parts) {
        auto child = key->children.find(fold_case(part));
        if (child == key->children.end())
            return nullptr;
        key = child->second.get();
    }
    return key;
}

RegKey* Registry::create(RegKey* parent, std::string_view path) {
    if (!parent || !parent->alive)
        return nullptr;
    auto parts = split_path(path);
    if (!parts)
        return nullptr;
    RegKey* key = parent;
    for (std::string_view part : *parts) {
        auto [child, inserted] = key->children.try_emplace(fold_case(part));
        if (inserted) {
            child->second = std::make_unique<RegKey>();
            child->second->name = std::string(part);
            child->second->parent = key;
            impl_->place_at_end(child->second.get());
            changed_ = true;
        }
        key = child->second.get();
    }
    return key;
}

const RegValue* Registry::value(const RegKey& key, std::string_view name) const {
    for (const RegValue& v : key.values) {
        if (same_folded(v.name, name))
            return &v;
    }
    return nullptr;
}

void Registry::set_value(RegKey& key, std::string_view name, std::uint32_t type, std::string data) {
    if (!key.alive)
        return;
    changed_ = true;
    // A root's values need a section of their own in the file.
    if (!key.parent && !impl_->where.contains(&key))
        impl_->place_at_end(&key);
    for (RegValue& v : key.values) {
        if (same_folded(v.name, name)) {
            v.type = type;
            v.data = std::move(data);
            v.raw.clear();
            return;
        }
    }
    key.values.push_back(RegValue{std::string(name), type, std::move(data), std::string()});
}

bool Registry::delete_value(RegKey& key, std::string_view name) {
    if (!key.alive)
        return false;
    for (auto v = key.values.begin(); v != key.values.end(); ++v) {
        if (same_folded(v->name, name)) {
            key.values.erase(v);
            changed_ = true;
            return true;
        }
    }
    return false;
}

void Registry::delete_tree(RegKey& key) {
    if (!key.parent || !key.alive)
        return;
    std::vector<RegKey*> pending{&key};
    while (!pending.empty()) {
        RegKey* k = pending.back();
        pending.pop_back();
        k->alive = false;
        impl_->unplace(k);
        for (auto& [folded, child] : k->children)
            pending.push_back(child.get());
    }
    auto& siblings = key.parent->children;
    auto entry = siblings.find(fold_case(key.name));
    impl_->graveyard.push_back(std::move(entry->second));
    siblings.erase(entry);
    changed_ = true;
}

std::vector<const RegKey*> Registry::keys_in_order() const {
    std::vector<const RegKey*> keys;
    keys.reserve(impl_->order.size());
    for (const RegKey* k : impl_->order) {
        if (k->parent)
            keys.push_back(k);
    }
    return keys;
}

std::vector<const RegKey*> Registry::sections_in_order() const {
    return std::vector<const RegKey*>(impl_->order.begin(), impl_->order.end());
}

void Registry::mark_listed(RegKey& key, std::string raw) {
    key.listed = true;
    key.raw = std::move(raw);
    impl_->place_at_end(&key);
}

}  // namespace sim
