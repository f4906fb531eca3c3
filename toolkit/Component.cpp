#include "toolkit/Component.h"

TComponent::~TComponent()
{
    while (!FComponents.empty())
        FComponents.pop_back();  // last created goes first, as it may refer to earlier ones
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

void TComponent::SetOrdProp(std::wstring_view name, long value)
{
    TOrdProperty property{};
    if (FindProperty(name, property))
        property.Set(*this, value);
}
