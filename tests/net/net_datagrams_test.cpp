// The datagrams byte for byte: requests as built, replies as decoded.
#include <gtest/gtest.h>

#include <vector>

#include "net/discovery_reply.h"
#include "net/setup_datagrams.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr MacAddress kMac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x5A};

template <typename Container>
Bytes ToBytes(const Container& bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

TEST(SetupRequestsTest, HeaderOnlyRequestsAreByteExact) {
  EXPECT_EQ(ToBytes(BuildDiscoveryRequest(1)),
            (Bytes{0x00, 0x20, 0x00, 0x01, 0x00, 0x01, 0x08, 0x00, 0x00, 0x02, 0x00,
                   0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(ToBytes(BuildFactoryDefaultRequest(3, kMac)),
            (Bytes{0x00, 0x20, 0x00, 0x01, 0x00, 0x01, 0x08, 0x02, 0x00, 0x01, 0x00,
                   0x00, 0x00, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x02, 0x11, 0x22, 0x33, 0x44, 0x5A, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(ToBytes(BuildGetRequest(3, kMac, kItemAddresses)),
            (Bytes{0x00, 0x20, 0x00, 0x01, 0x00, 0x01, 0x08, 0x02, 0x00, 0x03, 0x00, 0x02,
                   0x00, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x11,
                   0x22, 0x33, 0x44, 0x5A, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00}));
}

TEST(SetupRequestsTest, SequenceNumberIsBigEndian) {
  const auto request = BuildDiscoveryRequest(0x1234);
  EXPECT_EQ(request[12], 0x12);
  EXPECT_EQ(request[13], 0x34);
}

// The bytes that differ from an all-zero request past the header.
std::vector<std::pair<std::size_t, std::uint8_t>> Payload(std::span<const std::uint8_t> request) {
  std::vector<std::pair<std::size_t, std::uint8_t>> set;
  for (std::size_t i = kNetCommandHeaderSize; i < request.size(); ++i) {
    if (request[i] != 0) set.emplace_back(i, request[i]);
  }
  return set;
}

TEST(SetupRequestsTest, SetRequestsAccumulateTheirValuesInOrder) {
  SetRequestBuffer buffer(9, kMac);
  const Bytes name = ToBytes(buffer.NameRequest("AB"));
  ASSERT_EQ(name.size(), kSetRequestSize);
  EXPECT_EQ(Bytes(name.begin(), name.begin() + 32),
            (Bytes{0x00, 0x20, 0x00, 0x01, 0x00, 0x01, 0x08, 0x02, 0x00, 0x04, 0x04,
                   0x08, 0x00, 0x09, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x02, 0x11, 0x22, 0x33, 0x44, 0x5A, 0x00, 0x00, 0x00, 0x00}));
  using Set = std::vector<std::pair<std::size_t, std::uint8_t>>;
  EXPECT_EQ(Payload(name), (Set{{176, 'A'}, {177, 'B'}}));

  const Set addresses = {{34, 4},  {69, 10}, {72, 5},    {73, 255},
                         {77, 10}, {80, 1},  {176, 'A'}, {177, 'B'}};
  EXPECT_EQ(Payload(buffer.AddressesRequest({10, 0, 0, 5}, {255, 0, 0, 0}, {10, 0, 0, 1})),
            addresses);

  Set mode = addresses;
  mode[0] = {34, 5};
  mode.insert(mode.end(), {{942, 1}, {948, 1}});
  EXPECT_EQ(Payload(buffer.AddressModeRequest(false)), mode);

  Set closing = mode;
  closing[0] = {34, 7};
  EXPECT_EQ(Payload(buffer.ClosingRequest()), closing);
}

TEST(SetupRequestsTest, DhcpModeBytesAndNameBounds) {
  SetRequestBuffer buffer(1, kMac);
  const Bytes dhcp = ToBytes(buffer.AddressModeRequest(true));
  EXPECT_EQ(dhcp[942], 8);
  EXPECT_EQ(dhcp[948], 4);

  // A long name is cut, keeps its NUL, and a shorter one later leaves no tail of the first.
  const Bytes long_name = ToBytes(buffer.NameRequest(std::string(100, 'x')));
  EXPECT_EQ(long_name[176 + kSetNameCapacity - 1], 'x');
  EXPECT_EQ(long_name[176 + kSetNameCapacity], 0);
  const Bytes short_name = ToBytes(buffer.NameRequest("y"));
  EXPECT_EQ(short_name[176], 'y');
  EXPECT_EQ(short_name[177], 0);
  EXPECT_EQ(short_name[178], 0);
  EXPECT_EQ(short_name[942], 8);
}

// A discovery reply as a printer sends it.
Bytes Reply(std::uint8_t state, std::uint8_t flags, std::string_view model, std::string_view name) {
  Bytes reply(84, 0);
  const Bytes mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x5A};
  std::copy(mac.begin(), mac.end(), reply.begin() + 22);
  reply[40] = state;
  reply[41] = flags;
  const Bytes address = {0xC6, 0x33, 0x64, 0x05};
  std::copy(address.begin(), address.end(), reply.begin() + 44);
  std::copy(model.begin(), model.end(), reply.begin() + 52);
  reply.insert(reply.end(), name.begin(), name.end());
  reply.push_back(0);
  return reply;
}

TEST(DiscoveryReplyTest, DecodesEveryColumn) {
  const auto row = DecodeDiscoveryReply(Reply(0, 0, "TX-4", "Shipping"));
  ASSERT_TRUE(row);
  EXPECT_EQ(*row,
            (DeviceListRow{"Shipping", "02:11:22:33:44:5A", "198.51.100.5", "TX-4", "Ready"}));
}

TEST(DiscoveryReplyTest, ModelOfThirtyTwoBytesEndsWhereTheNameBegins) {
  const std::string model(32, 'M');
  const auto row = DecodeDiscoveryReply(Reply(0, 0, model, "N"));
  ASSERT_TRUE(row);
  EXPECT_EQ(row->model_name, model);
  EXPECT_EQ(row->printer_name, "N");
}

TEST(DiscoveryReplyTest, ShortDatagramsAreIgnoredAndMissingBytesReadAsZero) {
  const Bytes full = Reply(3, 0x04, "TX-4", "Shipping");
  EXPECT_FALSE(DecodeDiscoveryReply(std::span(full).first(31)));
  const auto header_only = DecodeDiscoveryReply(std::span(full).first(32));
  ASSERT_TRUE(header_only);
  EXPECT_EQ(*header_only, (DeviceListRow{"", "02:11:22:33:44:5A", "0.0.0.0", "", "Ready"}));
  // Cut inside the model and inside the name: texts end where the datagram ends.
  EXPECT_EQ(DecodeDiscoveryReply(std::span(full).first(54))->model_name, "TX");
  EXPECT_EQ(DecodeDiscoveryReply(std::span(full).first(88))->printer_name, "Ship");
  EXPECT_EQ(DecodeDiscoveryReply(std::span(full).first(42))->status, "Paper Empty");
}

TEST(DiscoveryReplyTest, StatusWordRulesInTheirOrder) {
  EXPECT_EQ(StatusWord(1, 0xFF), "Printing");
  EXPECT_EQ(StatusWord(2, 0xFF), "Pause");
  EXPECT_EQ(StatusWord(3, 0x41), "Carriage Open");
  EXPECT_EQ(StatusWord(3, 0x80), "Over Heat");
  EXPECT_EQ(StatusWord(3, 0x42), "Over Heat");
  EXPECT_EQ(StatusWord(3, 0x12), "Paper Jam");
  EXPECT_EQ(StatusWord(3, 0x14), "Paper Empty");
  EXPECT_EQ(StatusWord(3, 0x08), "Ribbon Error");
  EXPECT_EQ(StatusWord(3, 0x30), "Ribbon Error");
  EXPECT_EQ(StatusWord(3, 0x20), "Cutter Error");
  EXPECT_EQ(StatusWord(3, 0x00), "Error");
  EXPECT_EQ(StatusWord(0, 0x01), "Ready");
  EXPECT_EQ(StatusWord(7, 0xFF), "Ready");
  EXPECT_EQ(StatusWord(255, 0x01), "Ready");
}

TEST(SetupRepliesTest, AddressAndModeAnswers) {
  Bytes answer(943, 0);
  const Bytes values = {192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1};
  std::copy(values.begin(), values.end(), answer.begin() + 69);
  answer[942] = 8;
  const AddressReply addresses = DecodeAddressReply(answer);
  EXPECT_EQ(addresses.ip, (Ipv4Bytes{192, 168, 1, 100}));
  EXPECT_EQ(addresses.mask, (Ipv4Bytes{255, 255, 255, 0}));
  EXPECT_EQ(addresses.gateway, (Ipv4Bytes{192, 168, 1, 1}));
  EXPECT_TRUE(DecodeDhcpReply(answer));
  answer[942] = 1;
  EXPECT_FALSE(DecodeDhcpReply(answer));
  // A 32-byte answer carries neither: zeros, a static address.
  EXPECT_EQ(DecodeAddressReply(std::span(answer).first(32)).ip, (Ipv4Bytes{0, 0, 0, 0}));
  answer[942] = 8;
  EXPECT_FALSE(DecodeDhcpReply(std::span(answer).first(942)));
}

}  // namespace
}  // namespace vantrel
