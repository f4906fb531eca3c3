// The error hierarchy and the description of the error being handled, with where it was raised.
#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"

#include <gtest/gtest.h>

TEST(ExceptionDetails, SaysSoWhenNoErrorIsBeingHandled)
{
    EXPECT_EQ(ExceptionDetails(L""), L"There is no exception currently raised.");
    EXPECT_EQ(ExceptionDetails(L"Prefix"), L"Prefix\r\n\r\nThere is no exception currently raised.");
}

TEST(ExceptionDetails, DescribesTheErrorBeingHandled)
{
    try {
        throw EInOutError(L"Access is denied.", 5);
    } catch (const Exception& error) {
        const std::wstring details = ExceptionDetails(L"Head");
        EXPECT_EQ(details, L"Head\r\n\r\nStandard exception message: Access is denied.\r\n\r\nException occurred at address: " +
                               std::to_wstring(error.RaiseAddress()));
        EXPECT_NE(error.RaiseAddress(), 0u);
    }
}
