#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/objects.h"

using namespace qorkit;

namespace {

std::vector<String> gDestroyed;

class TProbe : public TComponent {
  public:
    using TComponent::TComponent;
    ~TProbe() override { gDestroyed.push_back(Name()); }
};

class TPoint3 : public TPersistent {
  public:
    int X = 0;
    void Assign(const TPersistent* Source) override {
        if (auto p = dynamic_cast<const TPoint3*>(Source)) {
            X = p->X;
            return;
        }
        TPersistent::Assign(Source);
    }
};

class TOther : public TPersistent {};

// Copies itself into a TPoint3 through AssignTo: the mirror path.
class TSource : public TPersistent {
  public:
    void AssignTo(TPersistent* Dest) const override {
        if (auto p = dynamic_cast<TPoint3*>(Dest)) {
            p->X = 42;
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

}  // namespace

TEST(TComponent, OwnerDestroysOwnedComponentsAndEarlyDeleteDetaches) {
    gDestroyed.clear();
    {
        TProbe owner(nullptr);
        owner.SetName(u"owner");
        auto* a = new TProbe(&owner);
        a->SetName(u"a");
        auto* b = new TProbe(&owner);
        b->SetName(u"b");
        auto* grandchild = new TProbe(b);
        grandchild->SetName(u"c");
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.FindComponent(u"B"), b);
        EXPECT_EQ(owner.FindComponent(u"zz"), nullptr);
        EXPECT_EQ(owner.Components(5), nullptr);
        delete a;  // early delete: the owner forgets it
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(owner.Components(0), b);
    }
    EXPECT_EQ(gDestroyed, (std::vector<String>{u"a", u"owner", u"b", u"c"}));
}

TEST(TComponent, OwnershipMovesAndCanBeReleased) {
    TComponent first(nullptr), second(nullptr);
    auto* child = new TComponent(&first);
    second.InsertComponent(child);
    EXPECT_EQ(child->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    second.RemoveComponent(child);
    EXPECT_EQ(child->Owner(), nullptr);
    std::unique_ptr<TComponent> owned(child);  // now the caller's
    EXPECT_EQ(second.ComponentCount(), 0);
}

TEST(TPersistent, AssignCopiesKnownClassesAndRaisesOtherwise) {
    TPoint3 a, b;
    a.X = 7;
    b.Assign(&a);
    EXPECT_EQ(b.X, 7);
    TSource src;
    b.Assign(&src);
    EXPECT_EQ(b.X, 42);
    TOther other;
    try {
        b.Assign(&other);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TOther to a TPoint3");
    }
    EXPECT_THROW(other.Assign(&a), EConvertError);
    try {
        b.Assign(nullptr);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a nil to a TPoint3");
    }
    EXPECT_EQ(TComponent(nullptr).ClassName(), u"TComponent");
}
