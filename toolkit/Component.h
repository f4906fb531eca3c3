#pragma once
// Components own the components created on them (a form owns its controls) and publish some of
// their properties by name, so that code such as the busy state can walk any window's components
// and reach "Cursor" or "Enabled" without knowing their classes.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TComponent;

struct TOrdProperty {
    const wchar_t* Name;
    void (*Set)(TComponent&, long);
};

class TComponent {
public:
    explicit TComponent(TComponent* owner) : FOwner(owner) {}
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    const std::wstring& Name() const { return FName; }
    void SetName(std::wstring name) { FName = std::move(name); }
    TComponent* Owner() const { return FOwner; }

    // Creates a component owned by this one; it lives until its owner is destroyed.
    template <class T, class... Args>
    T& Make(std::wstring name, Args&&... args)
    {
        auto component = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& made = *component;
        made.SetName(std::move(name));
        FComponents.push_back(std::move(component));
        return made;
    }

    // Owned components in creation order.
    std::size_t ComponentCount() const { return FComponents.size(); }
    TComponent& Component(std::size_t index) const { return *FComponents[index]; }

    bool IsPublishedProp(std::wstring_view name) const;
    void SetOrdProp(std::wstring_view name, long value);  // ignored when not published

protected:
    virtual void PublishedProperties(std::vector<TOrdProperty>& properties) const;

private:
    bool FindProperty(std::wstring_view name, TOrdProperty& found) const;

    TComponent* FOwner;
    std::wstring FName;
    std::vector<std::unique_ptr<TComponent>> FComponents;
};
