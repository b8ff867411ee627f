<?xml version="1.0" encoding="UTF-8"?>
<services>
  <service name="Thời sự" link="{{SITE}}/rss/thoi-su.rss">
    <subService name="Chính trị" link="{{SITE}}/rss/thoi-su/chinh-tri.rss" />
    <subService name="Xã hội" link="{{SITE}}/rss/thoi-su/xa-hoi.rss" />
    <subService name="Giao thông" link="{{SITE}}/rss/thoi-su/giao-thong.rss" />
    <subService name="Môi trường" link="{{SITE}}/rss/thoi-su/moi-truong.rss" />
  </service>
  <service name="Thế giới" link="{{SITE}}/rss/the-gioi.rss">
    <subService name="Châu Á" link="{{SITE}}/rss/the-gioi/chau-a.rss" />
    <subService name="Châu Âu" link="{{SITE}}/rss/the-gioi/chau-au.rss" />
    <subService name="Châu Mỹ" link="{{SITE}}/rss/the-gioi/chau-my.rss" />
    <subService name="Tư liệu" link="{{SITE}}/rss/the-gioi/tu-lieu.rss" />
  </service>
  <service name="Kinh doanh" link="{{SITE}}/rss/kinh-doanh.rss">
    <subService name="Chứng khoán" link="{{SITE}}/rss/kinh-doanh/chung-khoan.rss" />
    <subService name="Bất động sản" link="{{SITE}}/rss/kinh-doanh/bat-dong-san.rss" />
    <subService name="Doanh nghiệp" link="{{SITE}}/rss/kinh-doanh/doanh-nghiep.rss" />
    <subService name="Tiêu dùng" link="{{SITE}}/rss/kinh-doanh/tieu-dung.rss" />
  </service>
  <service name="Giải trí" link="{{SITE}}/rss/giai-tri.rss">
  </service>
  <service name="Thể thao" link="{{SITE}}/rss/the-thao.rss">
    <subService name="Bóng đá Việt Nam" link="{{SITE}}/rss/the-thao/bong-da-viet-nam.rss" />
    <subService name="Ngoại hạng Anh" link="{{SITE}}/rss/the-thao/ngoai-hang-anh.rss" />
    <subService name="Tây Ban Nha" link="{{SITE}}/rss/the-thao/tay-ban-nha.rss" />
    <subService name="Italy" link="{{SITE}}/rss/the-thao/y.rss" />
    <subService name="Đức" link="{{SITE}}/rss/the-thao/duc.rss" />
    <subService name="Pháp" link="{{SITE}}/rss/the-thao/phap.rss" />
    <subService name="Champions League" link="{{SITE}}/rss/the-thao/champions-league.rss" />
    <subService name="SEA Games" link="{{SITE}}/rss/the-thao/sea-games.rss" />
    <subService name="Quần vợt" link="{{SITE}}/rss/the-thao/quan-vot.rss" />
    <subService name="Đua xe" link="{{SITE}}/rss/the-thao/dua-xe.rss" />
    <subService name="Cờ vua" link="{{SITE}}/rss/the-thao/co-vua.rss" />
    <subService name="Võ thuật" link="{{SITE}}/rss/the-thao/vo-thuat.rss" />
    <subService name="Điền kinh" link="{{SITE}}/rss/the-thao/dien-kinh.rss" />
    <subService name="Bơi lội" link="{{SITE}}/rss/the-thao/boi-loi.rss" />
    <subService name="Golf" link="{{SITE}}/rss/the-thao/golf.rss" />
    <subService name="Bóng chuyền" link="{{SITE}}/rss/the-thao/bong-chuyen.rss" />
  </service>
  <service name="Pháp luật" link="{{SITE}}/rss/phap-luat.rss">
  </service>
  <service name="Giáo dục" link="{{SITE}}/rss/giao-duc.rss">
  </service>
  <service name="Sức khỏe" link="{{SITE}}/rss/suc-khoe.rss">
  </service>
  <service name="Công nghệ" link="{{SITE}}/rss/cong-nghe.rss">
  </service>
</services>
