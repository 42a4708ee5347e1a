#include "foundation/shared_object.h"

#include <gtest/gtest.h>

namespace {

using vek::SharedObject;
using vek::SharedRef;

class Counted : public SharedObject {
public:
    explicit Counted(int* destroyed) : destroyed_(destroyed) {}
    ~Counted() override { ++*destroyed_; }
    int value = 7;

private:
    int* destroyed_;
};

TEST(SharedObject, CountStartsAtZero) {
    int destroyed = 0;
    Counted object(&destroyed);
    EXPECT_EQ(object.getUseCount(), 0);
    EXPECT_FALSE(object.isAutoDelete());
    object.addRef();
    object.addRef();
    EXPECT_EQ(object.getUseCount(), 2);
    EXPECT_FALSE(object.release());
    EXPECT_FALSE(object.release());  // 1 -> 0 without auto-delete: kept
    EXPECT_EQ(object.getUseCount(), 0);
    EXPECT_FALSE(object.release());  // nothing below 0
    EXPECT_EQ(object.getUseCount(), 0);
    EXPECT_EQ(destroyed, 0);
}

TEST(SharedObject, AutoDeleteWhenTheLastUserLetsGo) {
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    object->setAutoDelete(true);
    object->addRef();
    object->addRef();
    EXPECT_FALSE(object->release());
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(object->release());
    EXPECT_EQ(destroyed, 1);
}

TEST(SharedObject, CopyIsANewObject) {
    int destroyed = 0;
    Counted object(&destroyed);
    object.setAutoDelete(true);
    object.addRef();
    Counted copy(object);
    EXPECT_EQ(copy.getUseCount(), 0);
    EXPECT_TRUE(copy.isAutoDelete());
    object.setAutoDelete(false);
    object.release();
}

TEST(SharedRef, CountsItsReferences) {
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    object->setAutoDelete(true);
    {
        SharedRef<Counted> first(object);
        EXPECT_EQ(object->getUseCount(), 1);
        SharedRef<Counted> second = first;
        EXPECT_EQ(object->getUseCount(), 2);
        SharedRef<Counted> third(std::move(second));
        EXPECT_EQ(object->getUseCount(), 2);
        EXPECT_FALSE(second);  // NOLINT(bugprone-use-after-move)
        EXPECT_TRUE(third);
        EXPECT_EQ(third->value, 7);
        EXPECT_EQ(&*third, object);
        EXPECT_TRUE(first == third);
        SharedRef<SharedObject> base(first);
        EXPECT_EQ(object->getUseCount(), 3);
        third.reset();
        EXPECT_EQ(object->getUseCount(), 2);
        first = SharedRef<Counted>();
        EXPECT_EQ(object->getUseCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(SharedRef, NullAndSelfAssignment) {
    SharedRef<Counted> empty;
    EXPECT_FALSE(empty);
    EXPECT_TRUE(empty == nullptr);
    EXPECT_EQ(empty.get(), nullptr);
    empty.reset();
    int destroyed = 0;
    Counted object(&destroyed);
    SharedRef<Counted> ref(&object);
    SharedRef<Counted>& alias = ref;
    ref = alias;  // self-assignment keeps the count
    EXPECT_EQ(object.getUseCount(), 1);
    ref = nullptr;
    EXPECT_EQ(object.getUseCount(), 0);
    EXPECT_EQ(destroyed, 0);
}

}  // namespace
