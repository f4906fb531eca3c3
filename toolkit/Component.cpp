#include "toolkit/Component.h"

TComponent::~TComponent()
{
    while (!FComponents.empty())
        FComponents.pop_back();  // last created goes first, as it may refer to earlier ones
}

TComponent* TComponent::FindComponent(std::wstring_view name) const
{
    for (const auto& component : FComponents)
        if (component->Name() == name)
            return component.get();
    return nullptr;
}

void TComponent::PublishedProperties(std::vector<TOrdProperty>&) const {}

bool TComponent::FindProperty(std::wstring_view name, TOrdProperty& found) const
{
    std::vector<TOrdProperty> properties;
    PublishedProperties(properties);
    for (const TOrdProperty& property : properties)
        if (name == property.Name) {
            found = property;
            return true;
        }
    return false;
}

bool TComponent::IsPublishedProp(std::wstring_view name) const
{
    TOrdProperty property{};
    return FindProperty(name, property);
}

long TComponent::GetOrdProp(std::wstring_view name) const
{
    TOrdProperty property{};
    return FindProperty(name, property) ? property.Get(*this) : 0;
}

void TComponent::SetOrdProp(std::wstring_view name, long value)
{
    TOrdProperty property{};
    if (FindProperty(name, property))
        property.Set(*this, value);
}
